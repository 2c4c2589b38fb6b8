#include "app/CSettingDlg.h"
#include "i18n/LanguagePack.h"
#include "platform/PlatformServices.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/SettingsRecord.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/ProcessStateGuard.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/XTestWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

// The editor follows the open PC viewer's language (a real X11 window and the viewer's value in
// a Wine registry), and the camera's own language when the viewer is not open.
class ViewerLanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.IsRunning(), qPrintable(m_server.ErrorString())); }
    void init()
    {
        m_state.emplace();
        PopupRecorder::Instance().SetRecording(true);
    }
    void cleanup() { m_state.reset(); }

    void followsViewerWhenOpen_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("index");
        QTest::newRow("viewer open") << u"ORBELMARK DASHCAM PC VIEWER"_s << 7;         // German
        QTest::newRow("other window only") << u"ORBELMARK DASHCAM PC VIEWER 2"_s << 1; // the camera's French
        QTest::newRow("no window") << QString() << 1;
    }

    void followsViewerWhenOpen()
    {
        QFETCH(QString, title);
        QFETCH(int, index);

        // The camera is set to French: position 1 of its list.
        QTemporaryDir card;
        QDir().mkpath(card.filePath(u"lang"_s));
        QFile versions(card.filePath(u"lang/ver.dat"_s));
        QVERIFY(versions.open(QIODevice::WriteOnly));
        versions.write(" Code : en fr-CA es\r\n");
        versions.close();
        QByteArray block(SettingsRecord::Size, '\0');
        qToLittleEndian<quint32>(SettingsRecord::Size, block.data());
        qToLittleEndian<qint32>(1, block.data() + 428);
        QFile setup(card.filePath(u"setup.cfg"_s));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write(block);
        setup.close();
        CardRoot::Instance().Set(card.path() + u'/');

        std::unique_ptr<XTestWindow> viewer;
        if (!title.isEmpty()) {
            viewer = std::make_unique<XTestWindow>(m_server.Display());
            QVERIFY(viewer->IsValid());
            viewer->SetTitle(title);
            viewer->Map();
            QVERIFY(viewer->Sync());
        }

        // The real backends: the X server named by DISPLAY and the registry of a Wine prefix.
        const ScopedEnvironmentVariable display("DISPLAY", m_server.Display().toLocal8Bit());
        const ScopedEnvironmentVariable prefix("WINEPREFIX",
                                               QByteArray(DASHCAM_TEST_DATA "/platform/wine-prefix"));
        PlatformServices::Instance() = PlatformServices::Defaults();

        CSettingDlg window;
        QVERIFY(window.RunStartupSequence(u"/opt/dashcam/dashcam-settings"_s));
        QCOMPARE(window.InterfaceLanguageIndex(), index);
        LanguagePack expected;
        QVERIFY(expected.Load(LanguagePack::ResourceName(index)));
        QCOMPARE(window.windowTitle(), expected.Text(u"IDS_STRING101"));
    }

private:
    PrivateXServer m_server;
    std::optional<ProcessStateGuard> m_state;
};

QTEST_MAIN(ViewerLanguageTest)
#include "ViewerLanguageTest.moc"
