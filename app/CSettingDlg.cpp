#include "app/CSettingDlg.h"

#include "startup/InterfaceLanguage.h"
#include "startup/SelfRelaunch.h"
#include "i18n/LanguagePack.h"
#include "i18n/QtTranslations.h"
#include "pages/CEtcDlg.h"
#include "pages/CParkingDlg.h"
#include "pages/CSystemDlg.h"
#include "platform/CRegistryManager.h"
#include "platform/PlatformServices.h"
#include "settings/CardRoot.h"
#include "settings/CardSave.h"
#include "settings/ClockFile.h"
#include "settings/DeviceClock.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "settings/VersionFile.h"
#include "ui/CRButton.h"
#include "ui/CRStaticText.h"
#include "ui/CommandEvent.h"
#include "ui/LabelStyle.h"
#include "ui/MessageBox.h"
#include "skin/NinePatchRenderer.h"
#include "skin/SkinFont.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

struct ButtonPlace
{
    int id;
    QRect rect;
    int normal, hover, pressed, selected; // image ids; selected 0 for non-tabs
    const char16_t* textKey;              // null: image only
    bool tab;
};

QRect FromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// clang-format off
const ButtonPlace Buttons[] = {
    {CSettingDlg::IdTabMemoryCard, FromEdges( 11,  48, 151,  85), 143, 144, 145, 146, u"IDS_STRING105", true},
    {CSettingDlg::IdTabRecord,     FromEdges(151,  48, 291,  85), 147, 148, 149, 150, u"IDS_STRING228", true},
    {CSettingDlg::IdTabSystem,     FromEdges(291,  48, 431,  85), 151, 152, 153, 154, u"IDS_STRING213", true},
    {CSettingDlg::IdMinimize,      FromEdges(648,   0, 677,  26), 155, 156, 157,   0, nullptr,          false},
    {CSettingDlg::IdClose,         FromEdges(677,   0, 706,  26), 158, 159, 160,   0, nullptr,          false},
    {CSettingDlg::IdInitialize,    FromEdges(  8, 546, 229, 575), 161, 162, 163,   0, u"IDS_STRING106", false},
    {CSettingDlg::IdCancel,        FromEdges(510, 546, 610, 575), 161, 162, 163,   0, u"IDS_STRING107", false},
    {CSettingDlg::IdSave,          FromEdges(614, 546, 714, 575), 161, 162, 163,   0, u"IDS_STRING108", false},
};
// clang-format on

LabelStyle MakeLabelStyle(const QString& text, QColor normal, QColor hover, QColor pressed, int centring)
{
    return LabelStyle{text, normal, hover, pressed, 13, centring};
}

} // namespace

QList<int> CSettingDlg::SkinImageIds()
{
    QList<int> ids{501};
    for (const ButtonPlace& place : Buttons) {
        for (int id : {place.normal, place.hover, place.pressed, place.selected}) {
            if (id != 0 && !ids.contains(id))
                ids.append(id);
        }
    }
    return ids;
}

CSettingDlg::CSettingDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowMinimizeButtonHint);
    // With its size given the icon is decoded only when the window is created, not here.
    QIcon icon;
    icon.addFile(u":/icons/dashcam-settings-64.png"_s, QSize(64, 64));
    setWindowIcon(icon);
    m_quitAfterFirstPaint = qEnvironmentVariableIntValue("DASHCAM_QUIT_AFTER_FIRST_PAINT") == 1;
}

CSettingDlg::~CSettingDlg()
{
    ReleasePagesAndRecord();
}

bool CSettingDlg::RunStartupSequence(const QString& programPath)
{
    const PlatformServices& platform = PlatformServices::Instance();
    InterfaceLanguage::ReadViewerLanguage(CRegistryManager(platform.Registry()));

    m_programFolder = SelfRelaunch::ProgramFolder(programPath);
    SelfRelaunch relaunch(*platform.Drives(), *platform.AppData(), *platform.Launcher());
    if (relaunch.RelaunchFromLocalCopy(programPath))
        return false;

    SettingsRecord& record = SettingsRecord::CreateInstance();
    DeviceClock::Instance().is_set = false;

    move(0, 0);
    setFixedSize(WindowSize);
    if (CardRoot::Instance().IsEmpty())
        return false;

    ReadClockFile(CardRoot::Instance().Path(u"time.dat"));
    ReadVersionFile(m_versionInfo, CardRoot::Instance().Path(u"lang/"));
    if (!LoadSettingsFile(record, CardRoot::Instance().Path(u"setup.cfg")) && !LoadFactoryDefaults(record))
        MessageBox::Show(nullptr, u"no default.cfg :"_s + FactoryDefaultsPath());

    m_languageIndex = InterfaceLanguage::ChooseInterfaceLanguage(*platform.Windows(), m_versionInfo.codes,
                                                                 record.Int32(Field::device_language));
    LoadLanguagePack(LanguagePack::ResourceName(m_languageIndex));
    QtTranslations::Install(m_languageIndex); // the buttons of the standard message boxes
    SkinFont::SetInterfaceLanguage(m_languageIndex);
    setWindowTitle(GetText(u"IDS_STRING101"));

    BuildFrame();
    CreatePages();
    m_ready = true;
    return true;
}

void CSettingDlg::BuildFrame()
{
    m_titleFont = SkinFont::Create(13, true);

    m_background.Create(WindowSize.width(), WindowSize.height());
    NinePatchRenderer::Instance()->DrawNinePatch(m_background, 501);
    NinePatchRenderer::ReleaseInstance();
    const QImage& background = m_background.Image();

    m_title = new CRStaticText(IdTitle, this);
    m_title->setGeometry(FromEdges(11, 7, 411, 27));
    const LabelStyle titleStyle =
        MakeLabelStyle(GetText(u"IDS_STRING101"), QColor(214, 223, 233), Qt::white, Qt::white, 0);
    m_title->SetLook(0, &m_titleFont, &background, &titleStyle);

    const QColor tabText(119, 148, 177);
    const QColor buttonText(176, 187, 200);
    for (const ButtonPlace& place : Buttons) {
        auto* button = new CRButton(place.id, this);
        button->setGeometry(place.rect);
        if (place.textKey) {
            const QString text = GetText(QStringView(place.textKey));
            const LabelStyle style = place.tab ? MakeLabelStyle(text, tabText, tabText, Qt::white, 1)
                                               : MakeLabelStyle(text, buttonText, Qt::white, Qt::white, 1);
            button->SetImagesStretched(place.normal, place.hover, place.pressed, &background, &style);
        } else {
            button->SetImagesNatural(place.normal, place.hover, place.pressed, &background);
        }
        if (place.tab)
            button->SetSelectedImage(place.selected);
        m_buttons.append(button);
    }
    for (CRButton* button : std::as_const(m_buttons)) {
        if (button->ControlId() >= IdTabRecord && button->ControlId() <= IdTabSystem)
            button->SetSelected(button->ControlId() == IdTabMemoryCard);
    }
}

// The window opens on the memory card page. The two hidden pages (and the system page's time
// zone catalogue) are built once the window has first been painted, or as soon as anything
// needs them, so the window appears without waiting for them.
void CSettingDlg::CreatePages()
{
    m_memoryCardPage = new CEtcDlg(this);
    m_memoryCardPage->move(PageArea.topLeft());
    m_memoryCardPage->show();
    m_memoryCardPage->LoadFromRecord();
    m_hiddenPagesPending = true;
}

void CSettingDlg::CreateHiddenPages()
{
    if (!m_hiddenPagesPending || !SettingsRecord::Instance())
        return;
    m_hiddenPagesPending = false;
    m_recordPage = new CParkingDlg(this);
    m_systemPage = new CSystemDlg(m_versionInfo, this);
    for (CBaseDialog* page :
         {static_cast<CBaseDialog*>(m_recordPage), static_cast<CBaseDialog*>(m_systemPage)}) {
        page->move(PageArea.topLeft());
        page->hide();
    }
    // The system page's load clears the clock flag and fills an unset time zone: it comes last.
    m_recordPage->LoadFromRecord();
    m_systemPage->LoadFromRecord();
}

void CSettingDlg::ReloadPages()
{
    CreateHiddenPages();
    if (m_recordPage)
        m_recordPage->LoadFromRecord();
    if (m_memoryCardPage)
        m_memoryCardPage->LoadFromRecord();
    if (m_systemPage)
        m_systemPage->LoadFromRecord();
}

QWidget* CSettingDlg::Control(int id) const
{
    if (id == IdTitle)
        return m_title;
    for (CRButton* button : m_buttons) {
        if (button->ControlId() == id)
            return button;
    }
    return nullptr;
}

CBaseDialog* CSettingDlg::RecordPage()
{
    CreateHiddenPages();
    return m_recordPage;
}

CBaseDialog* CSettingDlg::MemoryCardPage() const
{
    return m_memoryCardPage;
}

CBaseDialog* CSettingDlg::SystemPage()
{
    CreateHiddenPages();
    return m_systemPage;
}

bool CSettingDlg::event(QEvent* event)
{
    if (event->type() == CommandEvent::EventType()) {
        OnCommand(static_cast<CommandEvent*>(event)->Id());
        return true;
    }
    return QDialog::event(event);
}

void CSettingDlg::OnCommand(int id)
{
    switch (id) {
    case IdTabRecord:
    case IdTabMemoryCard:
    case IdTabSystem:
        ShowPage(id);
        break;
    case IdMinimize:
        showMinimized();
        break;
    case IdClose:
    case IdCancel:
        CloseWithoutSaving();
        break;
    case IdInitialize:
        Initialize();
        break;
    case IdSave:
        Save();
        break;
    default:
        break;
    }
}

void CSettingDlg::ShowPage(int tabId)
{
    CreateHiddenPages();
    for (CRButton* button : std::as_const(m_buttons)) {
        const int id = button->ControlId();
        if (id >= IdTabRecord && id <= IdTabSystem)
            button->SetSelected(id == tabId);
    }
    if (m_recordPage)
        m_recordPage->setVisible(tabId == IdTabRecord);
    if (m_memoryCardPage)
        m_memoryCardPage->setVisible(tabId == IdTabMemoryCard);
    if (m_systemPage)
        m_systemPage->setVisible(tabId == IdTabSystem);
}

void CSettingDlg::Initialize()
{
    SettingsRecord* record = SettingsRecord::Instance();
    if (!record)
        return;
    if (!LoadFactoryDefaults(*record))
        MessageBox::Show(this, u"no default.cfg :"_s + FactoryDefaultsPath());
    ReloadPages();
}

void CSettingDlg::Save()
{
    SettingsRecord* record = SettingsRecord::Instance();
    if (CardRoot::Instance().IsEmpty() || !record)
        return;
    CreateHiddenPages(); // their loading decides the clock flag and an unset time zone
    // Every failure keeps the window open with the edits, so the user can mend the card (put it
    // back, remove the write protection) and press Save again, or cancel.
    switch (SaveToCard(*record)) {
    case CardSaveResult::Saved:
        ReleasePagesAndRecord();
        accept();
        return;
    case CardSaveResult::NoSettingsFile:
        MessageBox::Show(this, GetText(u"IDS_STRING3302"));
        return;
    case CardSaveResult::SettingsNotSaved:
        MessageBox::Show(this, GetText(u"IDS_STRING3300"));
        return;
    case CardSaveResult::ClockNotSaved:
        // The camera would set its clock from a stale time.dat: say exactly what is missing.
        MessageBox::Show(this, GetText(u"IDS_STRING3301"));
        return;
    }
}

void CSettingDlg::CloseWithoutSaving()
{
    ReleasePagesAndRecord();
    reject();
}

void CSettingDlg::ReleasePagesAndRecord()
{
    m_hiddenPagesPending = false;
    delete m_recordPage;
    delete m_memoryCardPage;
    delete m_systemPage;
    SettingsRecord::ReleaseInstance();
}

void CSettingDlg::paintEvent(QPaintEvent*)
{
    if (!m_ready)
        return;
    if (m_recompose)
        m_composite = QImage();
    if (m_composite.isNull()) {
        // The controls took their copies of the background when they were set up, so the
        // composite can take over the background's pixels instead of copying them: a second
        // window-sized image costs start-up time.
        m_composite = m_background.Image();
        m_background.Release();
        QPainter painter(&m_composite);
        painter.fillRect(PageArea, Qt::white);
    }
    QPainter(this).drawImage(0, 0, m_composite);
    m_recompose = false;
    if (m_quitAfterFirstPaint) {
        // Start-up timing: the window is ready and on screen.
        m_quitAfterFirstPaint = false;
        QTimer::singleShot(0, this, &CSettingDlg::CloseWithoutSaving);
    }
    if (m_hiddenPagesPending)
        QTimer::singleShot(0, this, &CSettingDlg::CreateHiddenPages);
}

void CSettingDlg::mousePressEvent(QMouseEvent* event)
{
    m_dragging = false;
    QDialog::mousePressEvent(event);
}

// The borderless window is moved by dragging its background (or its title, whose mouse input
// reaches this window).
void CSettingDlg::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && !m_dragging && windowHandle())
        m_dragging = windowHandle()->startSystemMove();
    QDialog::mouseMoveEvent(event);
}

// Enter and Esc end the dialog like Cancel: nothing is written.
void CSettingDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        CloseWithoutSaving();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
