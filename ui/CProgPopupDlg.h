#pragma once

#include "device/FormatProgress.h"

#include <QDialog>
#include <QString>
#include <atomic>

class QLabel;
class QProgressBar;

// The modal progress window a long job runs behind. Only the job ends it: the window has no
// close box and no key closes it. The job talks to it from its own thread; its updates and its
// close request are queued to the window's thread, and a close request that comes before the
// window is shown ends the modal run as soon as it starts.
class CProgPopupDlg final : public QDialog, public FormatProgress
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CProgPopupDlg)

public:
    enum Id
    {
        IdProgress = 1118,
        IdText = 1120,
    };

    explicit CProgPopupDlg(QWidget* parent = nullptr);

    // Caption, message (lines separated by CR LF) and the window size; before the modal run.
    void SetContent(const QString& caption, const QString& text, int width, int height);

    void SetPos(int pos) override;
    int GetPos() const override { return m_pos.load(); }
    void RequestClose() override;

    QLabel* TextControl() const { return m_textCtrl; }
    QProgressBar* ProgressControl() const { return m_progress; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowPos();
    void FinishIfShown();

    QString m_caption;
    QString m_text;
    int m_width = 0;
    int m_height = 0;
    std::atomic<int> m_pos{0};
    std::atomic<bool> m_closeRequested{false};
    bool m_finishing = false;
    QLabel* m_textCtrl = nullptr;
    QProgressBar* m_progress = nullptr;
};
