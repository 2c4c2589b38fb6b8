#include "app/CSettingDlg.h"
#include "i18n/LanguagePack.h"
#include "pages/CParkingDlg.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/DemoCard.h"
#include "tests/support/ProcessStateGuard.h"
#include "ui/CMsgPopupDlg.h"
#include "ui/CRButton.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

// With SCREENSHOT_DIR set, writes the record page scrolled to its top and to its bottom and the
// parking mode question, in English and in Japanese, as PNG files for review.
class RecordPageScreenshotTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SkinFont::EnsureRegistered(); }
    void init()
    {
        m_state.emplace();
        PopupRecorder::Instance().SetRecording(true);
    }
    void cleanup() { m_state.reset(); }

    void recordPage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("english") << u"en"_s;
        QTest::newRow("japanese") << u"ja"_s;
    }

    void recordPage()
    {
        QFETCH(QString, code);
        const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("set SCREENSHOT_DIR to write screenshots");

        QTemporaryDir card;
        QVERIFY(CopyDemoCard(card.path()));
        InstallFakePlatform();
        CardRoot::Instance().Set(card.path() + u'/');
        QVERIFY(SetCameraLanguage(card.path(), code)); // it chooses the interface language
        CSettingDlg window;
        QVERIFY(window.RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.Control(CSettingDlg::IdTabRecord), Qt::LeftButton);
        auto* page = static_cast<CParkingDlg*>(window.RecordPage());
        QTRY_VERIFY(page->isVisible());
        QDir().mkpath(folder);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(window.grab().save(folder + u"/record-page-top-"_s + tag + u".png"_s));
        page->OnVScroll(CBaseDialog::ThumbTrack, page->ScrollRange());
        QVERIFY(window.grab().save(folder + u"/record-page-bottom-"_s + tag + u".png"_s));

        CMsgPopupDlg popup(&window);
        popup.SetContent(GetText(u"IDS_STRING104"),
                         GetText(u"IDS_STRING177") + u"\r\n"_s + GetText(u"IDS_STRING1770") + u"\r\n"_s, 490,
                         170);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QVERIFY(popup.grab().save(folder + u"/parking-popup-"_s + tag + u".png"_s));
        popup.done(CMsgPopupDlg::No);

        CMsgPopupDlg lowVoltage(&window);
        lowVoltage.SetContent(GetText(u"IDS_STRING246"),
                              GetText(u"IDS_STRING247") + u"\r\n"_s + GetText(u"IDS_STRING248") + u"\r\n"_s +
                                  GetText(u"IDS_STRING249"),
                              330, 170);
        lowVoltage.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lowVoltage));
        QVERIFY(lowVoltage.grab().save(folder + u"/low-voltage-popup-"_s + tag + u".png"_s));
        lowVoltage.done(CMsgPopupDlg::No);
    }

private:
    std::optional<ProcessStateGuard> m_state;
};

QTEST_MAIN(RecordPageScreenshotTest)
#include "RecordPageScreenshotTest.moc"
