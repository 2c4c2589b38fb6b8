#include "app/CSettingDlg.h"
#include "device/FormatEnvironment.h"
#include "i18n/LanguagePack.h"
#include "i18n/QtTranslations.h"
#include "pages/CEtcDlg.h"
#include "pages/CardFormatProcedure.h"
#include "platform/PlatformServices.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/FakeFormatter.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/FakeWindowFinder.h"
#include "tests/fakes/RecordingViewerSignals.h"
#include "tests/support/DemoCard.h"
#include "tests/support/ProcessStateGuard.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

using Widths = QList<int>;

// The bars as drawn: for each of the five rows, the run of non-background pixels that starts
// at the chart's left edge, measured in the middle of the bar.
Widths DrawnBarWidths(CEtcDlg& page)
{
    const QImage image = page.Content()->grab().toImage();
    const QPoint origin = page.ChartOrigin();
    const QRgb background = CBaseDialog::BackgroundColor.rgb();
    Widths widths;
    for (int i = 0; i < CEtcDlg::RecordingTypes; ++i) {
        const int y = origin.y() + CEtcDlg::BarSpacing * i + CEtcDlg::BarHeight / 2;
        int x = origin.x();
        while (x < image.width() && image.pixel(x, y) != background)
            ++x;
        widths.append(x - origin.x());
    }
    return widths;
}

// Rows of the bars are exactly 15 pixels high.
bool BarIsFifteenHigh(CEtcDlg& page, int row)
{
    const QImage image = page.Content()->grab().toImage();
    const QPoint origin = page.ChartOrigin();
    const QRgb background = CBaseDialog::BackgroundColor.rgb();
    const int x = origin.x() + 2;
    const int top = origin.y() + CEtcDlg::BarSpacing * row;
    return image.pixel(x, top - 1) == background && image.pixel(x, top) != background &&
           image.pixel(x, top + CEtcDlg::BarHeight - 1) != background &&
           image.pixel(x, top + CEtcDlg::BarHeight) == background;
}

QStringList ShareTexts(const CEtcDlg& page)
{
    QStringList texts;
    for (int i = 0; i < CEtcDlg::RecordingTypes; ++i)
        texts.append(page.ControlAs<QLineEdit>(CEtcDlg::IdShareContinuous + i)->text());
    return texts;
}

void Click(CEtcDlg& page, int id)
{
    QAbstractButton* button = page.Button(id);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

} // namespace

// The memory card page: its layout, the partition chart, the overwrite boxes, loading from the
// record and the Format button.
class EtcDlgTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void layoutPlacesEveryControl();
    void chartShowsTheSharesOfEachType_data();
    void chartShowsTheSharesOfEachType();
    void switchingTypeAToTypeBRedrawsAndStores();
    void overwriteBoxesStoreAtOnce_data();
    void overwriteBoxesStoreAtOnce();
    void continuousBoxIsTickedAndFixed();
    void loadingFillsControlsWithoutHandlers_data();
    void loadingFillsControlsWithoutHandlers();
    void chartScrollsWithThePage();
    void escapeAndEnterAreSwallowed();
    void backgroundClickTakesTheFocus();
    void formatAsksFirst_data();
    void formatAsksFirst();
    void editsReachTheCardOnSave();
    void screenshots_data();
    void screenshots();
    void formatQuestionSpeaksTheInterfaceLanguage();

private:
    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<CEtcDlg> m_page;
};

void EtcDlgTest::initTestCase()
{
    SkinFont::EnsureRegistered();
}

void EtcDlgTest::init()
{
    m_state.emplace();
    PopupRecorder::Instance().SetRecording(true);
    QVERIFY(LoadLanguagePack(u"english"_s));
    SettingsRecord& record = SettingsRecord::CreateInstance();
    record.SetInt32(Field::partition_type, 1);
    m_page = std::make_unique<CEtcDlg>(nullptr);
    m_page->LoadFromRecord();
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void EtcDlgTest::cleanup()
{
    m_page.reset();
    m_state.reset();
}

void EtcDlgTest::layoutPlacesEveryControl()
{
    CEtcDlg& page = *m_page;
    const auto at = [&page](int id) { return page.Control(id)->pos(); };
    const int w1 = page.Control(CEtcDlg::IdTypeA)->width();
    const int w2 = page.Control(CEtcDlg::IdTypeB)->width();
    QCOMPARE(w1, CBaseDialog::MeasureTextWidth(u"Type A (recommended)"_s, page.TextFont()) + 30);
    QCOMPARE(at(CEtcDlg::IdPartitionHeading), QPoint(15, 20));
    QCOMPARE(at(CEtcDlg::IdTypeA), QPoint(25, 45));
    QCOMPARE(at(CEtcDlg::IdTypeB), QPoint(w1 + 55, 45));
    QCOMPARE(at(CEtcDlg::IdTypeC), QPoint(w1 + 55 + w2 + 100, 45));

    int m = 0;
    for (int i = 0; i < CEtcDlg::RecordingTypes; ++i) {
        QCOMPARE(at(CEtcDlg::IdLabelContinuous + i), QPoint(25, 85 + 30 * i));
        m = std::max(m, page.Control(CEtcDlg::IdLabelContinuous + i)->width());
    }
    QCOMPARE(m,
             CBaseDialog::MeasureTextWidth(u"Motion Detection Recording in Parking Mode"_s, page.TextFont()) +
                 30);
    const int boxWidth = CBaseDialog::MeasureTextWidth(u"000"_s, page.TextFont()) + 30;
    for (int i = 0; i < CEtcDlg::RecordingTypes; ++i) {
        const QWidget* box = page.Control(CEtcDlg::IdShareContinuous + i);
        QCOMPARE(box->geometry().topLeft(), QPoint(m + 50, 85 + 30 * i));
        QCOMPARE(box->width(), boxWidth);
        QVERIFY(page.ControlAs<QLineEdit>(CEtcDlg::IdShareContinuous + i)->alignment() & Qt::AlignRight);
    }
    QCOMPARE(page.ChartOrigin(),
             QPoint(m + 50 + boxWidth + 10, 45 + page.Control(CEtcDlg::IdTypeA)->height() + 21));

    QCOMPARE(at(CEtcDlg::IdFormatHeading), QPoint(15, 245));
    QCOMPARE(page.Control(CEtcDlg::IdFormat)->geometry(), QRect(25, 284, 6 * 6 + 40, 30));
    QCOMPARE(page.Button(CEtcDlg::IdFormat)->text(), u"Format"_s);
    QCOMPARE(at(CEtcDlg::IdOverwriteHeading), QPoint(15, 334));
    QCOMPARE(at(CEtcDlg::IdOverwriteContinuous), QPoint(25, 374));
    QCOMPARE(at(CEtcDlg::IdOverwriteIncidentContinuous), QPoint(25, 399));
    QCOMPARE(at(CEtcDlg::IdOverwriteMotionParking), QPoint(25, 424));
    QCOMPARE(at(CEtcDlg::IdOverwriteIncidentParking), QPoint(25, 449));
    QCOMPARE(at(CEtcDlg::IdOverwriteManual), QPoint(25, 474));
    QCOMPARE(page.HeadingIds(), (QList<int>{CEtcDlg::IdPartitionHeading, CEtcDlg::IdFormatHeading,
                                            CEtcDlg::IdOverwriteHeading}));
    QCOMPARE(page.Button(CEtcDlg::IdOverwriteManual)->text(), u"Manual Recording"_s);
    QCOMPARE(page.HeadingFont(), page.Control(CEtcDlg::IdOverwriteHeading)->font());

    QCOMPARE(page.ScrollStep(), 100);
    QCOMPARE(page.ScrollRange(), 67);
    QCOMPARE(page.ScrollBarMaximum(), 437 + 67);
    QCOMPARE(page.ScrollPos(), 0);
    QVERIFY(page.Control(CEtcDlg::IdFocusSink)->isHidden());
}

void EtcDlgTest::chartShowsTheSharesOfEachType_data()
{
    QTest::addColumn<int>("partitionType");
    QTest::addColumn<Widths>("widths");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("Type A") << 1 << Widths{248, 80, 20, 11, 40}
                            << QStringList{u"62.0%"_s, u"20.0%"_s, u"5.0%"_s, u"3.0%"_s, u"10.0%"_s};
    QTest::newRow("Type B") << 2 << Widths{148, 60, 20, 11, 160}
                            << QStringList{u"37.0%"_s, u"15.0%"_s, u"5.0%"_s, u"3.0%"_s, u"40.0%"_s};
    QTest::newRow("Type C") << 3 << Widths{220, 60, 60, 20, 40}
                            << QStringList{u"55.0%"_s, u"15.0%"_s, u"15.0%"_s, u"5.0%"_s, u"10.0%"_s};
    QTest::newRow("zero") << 0 << Widths{242, 80, 20, 11, 40}
                          << QStringList{u"60.6%"_s, u"20.0%"_s, u"5.0%"_s, u"3.0%"_s, u"10.0%"_s};
    QTest::newRow("four") << 4 << Widths{242, 80, 20, 11, 40}
                          << QStringList{u"60.6%"_s, u"20.0%"_s, u"5.0%"_s, u"3.0%"_s, u"10.0%"_s};
    QTest::newRow("negative") << -1 << Widths{242, 80, 20, 11, 40}
                              << QStringList{u"60.6%"_s, u"20.0%"_s, u"5.0%"_s, u"3.0%"_s, u"10.0%"_s};
}

void EtcDlgTest::chartShowsTheSharesOfEachType()
{
    QFETCH(int, partitionType);
    QFETCH(Widths, widths);
    QFETCH(QStringList, texts);

    SettingsRecord::Instance()->SetInt32(Field::partition_type, partitionType);
    m_page->LoadFromRecord();
    const auto computed = CEtcDlg::BarWidths(partitionType);
    QCOMPARE(Widths(computed.begin(), computed.end()), widths);
    QCOMPARE(DrawnBarWidths(*m_page), widths);
    for (int row = 0; row < CEtcDlg::RecordingTypes; ++row)
        QVERIFY(BarIsFifteenHigh(*m_page, row));
    QCOMPARE(ShareTexts(*m_page), texts);
}

void EtcDlgTest::switchingTypeAToTypeBRedrawsAndStores()
{
    QCOMPARE(DrawnBarWidths(*m_page), (Widths{248, 80, 20, 11, 40}));
    QCOMPARE(ShareTexts(*m_page).constFirst(), u"62.0%"_s);
    Click(*m_page, CEtcDlg::IdTypeB);
    QCOMPARE(SettingsRecord::Instance()->Int32(Field::partition_type), 2);
    QVERIFY(m_page->IsChecked(CEtcDlg::IdTypeB));
    QVERIFY(!m_page->IsChecked(CEtcDlg::IdTypeA));
    QCOMPARE(DrawnBarWidths(*m_page), (Widths{148, 60, 20, 11, 160}));
    QCOMPARE(ShareTexts(*m_page), (QStringList{u"37.0%"_s, u"15.0%"_s, u"5.0%"_s, u"3.0%"_s, u"40.0%"_s}));
    Click(*m_page, CEtcDlg::IdTypeC);
    QCOMPARE(SettingsRecord::Instance()->Int32(Field::partition_type), 3);
    Click(*m_page, CEtcDlg::IdTypeA);
    QCOMPARE(SettingsRecord::Instance()->Int32(Field::partition_type), 1);
    QCOMPARE(DrawnBarWidths(*m_page), (Widths{248, 80, 20, 11, 40}));
}

void EtcDlgTest::overwriteBoxesStoreAtOnce_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("offset");
    QTest::newRow("incident, continuous mode") << int(CEtcDlg::IdOverwriteIncidentContinuous) << 132;
    QTest::newRow("motion, parking mode") << int(CEtcDlg::IdOverwriteMotionParking) << 136;
    QTest::newRow("incident, parking mode") << int(CEtcDlg::IdOverwriteIncidentParking) << 140;
    QTest::newRow("manual") << int(CEtcDlg::IdOverwriteManual) << 144;
}

void EtcDlgTest::overwriteBoxesStoreAtOnce()
{
    QFETCH(int, id);
    QFETCH(int, offset);
    SettingsRecord& record = *SettingsRecord::Instance();
    const FieldSpec field{"overwrite", offset, 4, FieldType::Int32};
    record.SetInt32(field, 7); // any nonzero value shows ticked
    m_page->LoadFromRecord();
    QVERIFY(m_page->IsChecked(id));
    const QByteArray before = record.ToByteArray();

    Click(*m_page, id);
    QCOMPARE(record.Int32(field), 0);
    QByteArray expected = before;
    expected.replace(offset, 4, QByteArray(4, '\0'));
    QCOMPARE(record.ToByteArray(), expected); // nothing else changed
    Click(*m_page, id);
    QCOMPARE(record.Int32(field), 1);
}

void EtcDlgTest::continuousBoxIsTickedAndFixed()
{
    QVERIFY(m_page->IsChecked(CEtcDlg::IdOverwriteContinuous));
    QVERIFY(!m_page->IsEnabled(CEtcDlg::IdOverwriteContinuous));
    const QByteArray before = SettingsRecord::Instance()->ToByteArray();
    Click(*m_page, CEtcDlg::IdOverwriteContinuous);
    QVERIFY(m_page->IsChecked(CEtcDlg::IdOverwriteContinuous));
    QCOMPARE(SettingsRecord::Instance()->ToByteArray(), before);
    // Loading any record leaves it ticked.
    SettingsRecord::Instance()->Clear();
    m_page->LoadFromRecord();
    QVERIFY(m_page->IsChecked(CEtcDlg::IdOverwriteContinuous));
}

void EtcDlgTest::loadingFillsControlsWithoutHandlers_data()
{
    QTest::addColumn<int>("partitionType");
    QTest::addColumn<QList<int>>("overwrite"); // 132, 136, 140, 144
    QTest::addColumn<int>("checkedRadio");     // 0: none
    QTest::newRow("Type A, all kept") << 1 << QList<int>{0, 0, 0, 0} << int(CEtcDlg::IdTypeA);
    QTest::newRow("Type B, mixed") << 2 << QList<int>{1, 0, 1, 0} << int(CEtcDlg::IdTypeB);
    QTest::newRow("Type C, odd values") << 3 << QList<int>{0, -1, 0, 256} << int(CEtcDlg::IdTypeC);
    QTest::newRow("zero: no radio") << 0 << QList<int>{1, 1, 1, 1} << 0;
    QTest::newRow("out of range: no radio") << 9 << QList<int>{0, 1, 0, 1} << 0;
}

void EtcDlgTest::loadingFillsControlsWithoutHandlers()
{
    QFETCH(int, partitionType);
    QFETCH(QList<int>, overwrite);
    QFETCH(int, checkedRadio);

    // Start from the opposite state, so every control must change.
    SettingsRecord& record = *SettingsRecord::Instance();
    record.SetInt32(Field::partition_type, checkedRadio == CEtcDlg::IdTypeA ? 2 : 1);
    for (const FieldSpec* field : {&Field::overwrite_incident_continuous, &Field::overwrite_motion_parking,
                                   &Field::overwrite_incident_parking, &Field::overwrite_manual})
        record.SetInt32(*field, 1);
    m_page->LoadFromRecord();

    record.SetInt32(Field::partition_type, partitionType);
    const std::array<const FieldSpec*, 4> fields{
        &Field::overwrite_incident_continuous, &Field::overwrite_motion_parking,
        &Field::overwrite_incident_parking, &Field::overwrite_manual};
    for (int i = 0; i < 4; ++i)
        record.SetInt32(*fields[i], overwrite[i]);
    const QByteArray before = record.ToByteArray();
    m_page->LoadFromRecord();

    QCOMPARE(record.ToByteArray(), before);
    for (int id : {CEtcDlg::IdTypeA, CEtcDlg::IdTypeB, CEtcDlg::IdTypeC})
        QCOMPARE(m_page->IsChecked(id), id == checkedRadio);
    const std::array<int, 4> boxes{CEtcDlg::IdOverwriteIncidentContinuous, CEtcDlg::IdOverwriteMotionParking,
                                   CEtcDlg::IdOverwriteIncidentParking, CEtcDlg::IdOverwriteManual};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m_page->IsChecked(boxes[i]), overwrite[i] != 0);
}

void EtcDlgTest::chartScrollsWithThePage()
{
    const QPoint origin = m_page->ChartOrigin();
    const QPoint box = m_page->Control(CEtcDlg::IdShareContinuous)->pos();
    m_page->OnVScroll(CBaseDialog::LineDown, 0);
    QCOMPARE(m_page->ScrollPos(), 67);
    QCOMPARE(m_page->Control(CEtcDlg::IdShareContinuous)->pos(), box - QPoint(0, 67));
    QCOMPARE(m_page->ChartOrigin(), origin - QPoint(0, 67));
    QCOMPARE(DrawnBarWidths(*m_page), (Widths{248, 80, 20, 11, 40}));
    m_page->OnVScroll(CBaseDialog::LineUp, 0);
    QCOMPARE(m_page->ChartOrigin(), origin);
}

void EtcDlgTest::escapeAndEnterAreSwallowed()
{
    QVERIFY(m_page->SwallowsKey(Qt::Key_Escape));
    QVERIFY(m_page->SwallowsKey(Qt::Key_Return));
    QVERIFY(m_page->SwallowsKey(Qt::Key_Enter));
    QVERIFY(!m_page->SwallowsKey(Qt::Key_Space));
}

void EtcDlgTest::backgroundClickTakesTheFocus()
{
    QWidget* box = m_page->Control(CEtcDlg::IdOverwriteManual);
    m_page->activateWindow();
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QTest::mouseClick(m_page->Content(), Qt::LeftButton, {}, QPoint(660, 300));
    QVERIFY(!box->hasFocus());
}

void EtcDlgTest::formatAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No leaves everything as it was") << false;
    QTest::newRow("Yes formats") << true;
}

void EtcDlgTest::formatAsksFirst()
{
    QFETCH(bool, yes);
    QTemporaryDir base;
    const QString card = base.path() + u"/card/"_s;
    const QString program = base.path() + u"/program/"_s;
    QVERIFY(CopyDemoCard(card));
    QVERIFY(QDir().mkpath(program));
    QFile video(card + u"video.mp4"_s);
    QVERIFY(video.open(QIODevice::WriteOnly));
    video.write("a recording");
    video.close();
    QFile programFile(program + u"dashcam-settings"_s);
    QVERIFY(programFile.open(QIODevice::WriteOnly));
    programFile.write("program");
    programFile.close();

    FakeFormatter::Script script;
    auto formatter = std::make_shared<FakeFormatter>(script);
    PlatformServices::Instance().SetFormatter(formatter);
    PlatformServices::Instance().SetDrives(std::make_shared<FakeDriveInfo>(QStringList{card, program}, true));
    PlatformServices::Instance().SetWindows(std::make_shared<FakeWindowFinder>());
    PlatformServices::Instance().SetViewer(std::make_shared<RecordingViewerSignals>());
    FormatEnvironment::Instance().programFile = program + u"dashcam-settings"_s;
    FormatEnvironment::Instance().finalPause = std::chrono::milliseconds(0);
    FormatEnvironment::Instance().capacity = [](const QString&) {
        return std::optional<qint64>(8'000'000'000);
    };
    CardRoot::Instance().Set(card);
    const QByteArray record = SettingsRecord::Instance()->ToByteArray();

    PopupRecorder::Instance().Take();
    PopupRecorder::Instance().SetStandingAnswer(yes);
    Click(*m_page, CEtcDlg::IdFormat);

    const QList<PopupRecorder::Popup> shown = PopupRecorder::Instance().Take();
    const QStringList captions = PopupRecorder::Captions(shown);
    const QStringList texts = PopupRecorder::Texts(shown);
    QVERIFY(!texts.isEmpty());
    QCOMPARE(captions.constFirst(), u"Formatting Memory Card"_s);
    QCOMPARE(texts.constFirst(), u"Caution: All data will be deleted after formatting the memory card.\r\n"
                                 u"Click 'Yes' to proceed. Click 'No' to cancel.\r\n"_s);
    QCOMPARE(formatter->Requests().size(), yes ? 1 : 0);
    QCOMPARE(QFile::exists(card + u"video.mp4"_s), !yes);
    QVERIFY(QFile::exists(card + u"setup.cfg"_s));
    QCOMPARE(texts.mid(1), yes ? QStringList{u"Formatting memory card complete."_s} : QStringList());
    QCOMPARE(SettingsRecord::Instance()->ToByteArray(), record);
}

// In the main window on a card: the page's edits are written by Save.
void EtcDlgTest::editsReachTheCardOnSave()
{
    m_page.reset();
    QTemporaryDir card;
    QVERIFY(CopyDemoCard(card.path()));
    InstallFakePlatform();
    CardRoot::Instance().Set(card.path() + u'/');
    CSettingDlg window;
    QVERIFY(window.RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* page = qobject_cast<CEtcDlg*>(window.MemoryCardPage());
    QVERIFY(page && page->isVisible());
    const qint32 type = SettingsRecord::Instance()->Int32(Field::partition_type);
    QVERIFY(page->IsChecked(CEtcDlg::IdTypeA - 1 + type));
    const int newType = type == 2 ? 3 : 2;
    const bool motion = SettingsRecord::Instance()->Int32(Field::overwrite_motion_parking) != 0;
    Click(*page, CEtcDlg::IdTypeA - 1 + newType);
    Click(*page, CEtcDlg::IdOverwriteMotionParking);

    QWidget* save = window.Control(CSettingDlg::IdSave);
    QTest::mouseMove(save);
    QTest::mouseClick(save, Qt::LeftButton);
    QTRY_VERIFY(!window.isVisible());
    QFile setup(card.filePath(u"setup.cfg"_s));
    QVERIFY(setup.open(QIODevice::ReadOnly));
    SettingsRecord written;
    const QByteArray bytes = setup.readAll();
    QCOMPARE(bytes.size(), SettingsRecord::Size);
    std::copy(bytes.cbegin(), bytes.cend(), written.Data());
    QCOMPARE(written.Int32(Field::partition_type), newType);
    QCOMPARE(written.Int32(Field::overwrite_motion_parking), motion ? 0 : 1);
}

void EtcDlgTest::screenshots_data()
{
    QTest::addColumn<int>("partitionType");
    QTest::addColumn<QString>("language");
    QTest::newRow("type-a") << 1 << u"english"_s;
    QTest::newRow("type-b") << 2 << u"english"_s;
    QTest::newRow("type-c") << 3 << u"english"_s;
    QTest::newRow("type-a-german") << 1 << u"german"_s;
    QTest::newRow("type-b-russian") << 2 << u"russian"_s;
    QTest::newRow("type-c-japanese") << 3 << u"japanese"_s;
}

// With SCREENSHOT_DIR set, writes the page for each partition type as PNG files for review.
void EtcDlgTest::screenshots()
{
    QFETCH(int, partitionType);
    QFETCH(QString, language);
    const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set SCREENSHOT_DIR to write screenshots");
    QVERIFY(LoadLanguagePack(language));
    SettingsRecord::Instance()->SetInt32(Field::partition_type, partitionType);
    SettingsRecord::Instance()->SetInt32(Field::overwrite_motion_parking, 1);
    CEtcDlg page(nullptr);
    page.LoadFromRecord();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QDir().mkpath(folder);
    const QString name = u"/memory-card-page-"_s + QString::fromLatin1(QTest::currentDataTag());
    QVERIFY(page.grab().save(folder + name + u".png"_s));
    page.OnVScroll(CBaseDialog::Bottom, 0);
    page.OnVScroll(CBaseDialog::LineDown, 0);
    QVERIFY(page.grab().save(folder + name + u"-scrolled.png"_s));
}

// The real question box, in French: Qt's own catalogue names its buttons, Yes is the default;
// answering No formats nothing. With SCREENSHOT_DIR set the box is written as a PNG file.
void EtcDlgTest::formatQuestionSpeaksTheInterfaceLanguage()
{
    QVERIFY(LoadLanguagePack(u"french"_s));
    QVERIFY(QtTranslations::Install(1));
    auto formatter = std::make_shared<FakeFormatter>(FakeFormatter::Script{});
    PlatformServices::Instance().SetFormatter(formatter);
    PopupRecorder::Instance().SetRecording(false);
    QStringList buttons;
    QString defaultButton;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton* button : box->buttons())
            buttons.append(button->text());
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            box->grab().save(folder + u"/format-question-french.png"_s);
        }
        box->button(QMessageBox::No)->click();
    });
    m_page->Button(CEtcDlg::IdFormat)->click();
    PopupRecorder::Instance().SetRecording(true);
    QtTranslations::Install(0);

    buttons.sort();
    QCOMPARE(buttons, (QStringList{u"&Non"_s, u"&Oui"_s}));
    QCOMPARE(defaultButton, u"&Oui"_s);
    QVERIFY(formatter->Requests().isEmpty());
}

QTEST_MAIN(EtcDlgTest)
#include "EtcDlgTest.moc"
