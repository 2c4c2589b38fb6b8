#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The program's own modal Yes/No question. Use:
//   CMsgPopupDlg popup(this);
//   popup.SetContent(caption, text, width, height);   // text lines separated by "\r\n"
//   if (popup.exec() == CMsgPopupDlg::Yes) ...
// The size is the outer window's. Y answers Yes, N answers No, Enter presses Yes (the default
// button), Esc does nothing and closing the window answers No.
//
// While PopupRecorder records, exec() records the question; an answer queued there is returned
// at once without showing the window.
class CMsgPopupDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMsgPopupDlg)

public:
    enum Answer
    {
        Yes = 1,
        No = 2,
    };
    // Control ids.
    enum Id
    {
        IdYes = 1,
        IdNo = 2,
        IdText = 1501,
    };

    explicit CMsgPopupDlg(QWidget* parent = nullptr);
    ~CMsgPopupDlg() override;

    void SetContent(const QString& caption, const QString& text, int width, int height);
    int exec() override;

    QWidget* Control(int id) const;
    QString Caption() const { return m_caption; }
    QString Text() const { return m_text; }

    // The button captions in the interface language: "예(Y)" / "아니오(N)" in Korean, the
    // language's own words followed by "(Y)" / "(N)" elsewhere.
    static QString YesCaption();
    static QString NoCaption();

    // Height of the text area: 70 for exactly two CR LF pairs, else 40.
    static int TextAreaHeight(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Lay();

    QString m_caption;
    QString m_text;
    int m_width = 0;
    int m_height = 0;
    QLabel* m_textCtrl = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
};
