#include "app/CSettingDlg.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"
#include "skin/SkinFont.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/DemoCard.h"
#include "tests/support/ProcessStateGuard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

// With SCREENSHOT_DIR set, writes the main window on the demo card in English and in Japanese
// as PNG files for review.
class ScreenshotTest : public QObject
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

    void mainWindow_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("english") << u"en"_s;
        QTest::newRow("japanese") << u"ja"_s;
        QTest::newRow("chinesetraditional") << u"zh-Hant-HK"_s;
    }

    void mainWindow()
    {
        QFETCH(QString, code);
        const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("set SCREENSHOT_DIR to write screenshots");

        QTemporaryDir card;
        QVERIFY(CopyDemoCard(card.path()));
        InstallFakePlatform();
        CardRoot::Instance().Set(card.path() + u'/');

        QVERIFY(SetCameraLanguage(card.path(), code));
        CSettingDlg localised;
        QVERIFY(localised.RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s));
        localised.show();
        QVERIFY(QTest::qWaitForWindowExposed(&localised));
        QDir().mkpath(folder);
        const QString file =
            folder + u"/main-window-"_s + QString::fromLatin1(QTest::currentDataTag()) + u".png"_s;
        QVERIFY(localised.grab().save(file));
    }

private:
    std::optional<ProcessStateGuard> m_state;
};

QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
