#pragma once

#include "settings/DeviceVersionInfo.h"
#include "skin/OffscreenSurface.h"

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPointer>

class CBaseDialog;
class CEtcDlg;
class CParkingDlg;
class CRButton;
class CRStaticText;
class CSystemDlg;

// The program's only window: a borderless, skinned dialog that reads the card at start-up,
// hosts the three settings pages and writes the card on Save.
class CSettingDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSettingDlg)

public:
    // Control ids; the buttons post them as commands.
    enum Id
    {
        IdTitle = 2001,
        IdTabRecord = 2202,
        IdTabMemoryCard = 2203,
        IdTabSystem = 2204,
        IdMinimize = 2300,
        IdClose = 2301,
        IdInitialize = 2302,
        IdCancel = 2303,
        IdSave = 2304,
    };
    static constexpr QSize WindowSize{722, 587};
    static constexpr QRect PageArea{QPoint(11, 85), QPoint(710, 521)};

    // The skin images the window is built from.
    static QList<int> SkinImageIds();

    explicit CSettingDlg(QWidget* parent = nullptr);
    ~CSettingDlg() override;

    // Reads the card and builds the window (or relaunches from a local copy). False when the
    // process should end without showing the window (relaunched, or no card root).
    bool RunStartupSequence(const QString& programPath);

    int InterfaceLanguageIndex() const { return m_languageIndex; }
    // True until the record and system pages have been built and loaded.
    bool HiddenPagesPending() const { return m_hiddenPagesPending; }

    QWidget* Control(int id) const;
    // The record and system pages are built on first need (see CreatePages()).
    CBaseDialog* RecordPage();
    CBaseDialog* MemoryCardPage() const;
    CBaseDialog* SystemPage();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnCommand(int id);
    void ShowPage(int tabId);
    void Initialize();
    void Save();
    void CloseWithoutSaving();
    void ReleasePagesAndRecord();

    void BuildFrame();
    void CreatePages();
    void CreateHiddenPages();
    void ReloadPages();

    QString m_programFolder;
    DeviceVersionInfo m_versionInfo;
    int m_languageIndex = 0;
    bool m_ready = false;
    bool m_hiddenPagesPending = false;
    bool m_recompose = true;
    bool m_dragging = false;
    bool m_quitAfterFirstPaint = false;

    QFont m_titleFont;
    OffscreenSurface m_background;
    QImage m_composite;

    CRStaticText* m_title = nullptr;
    QList<CRButton*> m_buttons;
    QPointer<CParkingDlg> m_recordPage;
    QPointer<CEtcDlg> m_memoryCardPage;
    QPointer<CSystemDlg> m_systemPage;
};
