#include "startup/InterfaceLanguage.h"

#include "platform/CRegistryManager.h"
#include "startup/ViewerLanguage.h"
#include "tests/fakes/FakeRegistry.h"
#include "tests/fakes/FakeWindowFinder.h"
#include "tests/support/ProcessStateGuard.h"

#include <QtTest>
#include <optional>

using namespace Qt::StringLiterals;

class InterfaceLanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_state.emplace(); }
    void cleanup() { m_state.reset(); }
    void choosesLanguage_data();
    void choosesLanguage();
    void readsViewerLanguageFromRegistry_data();
    void readsViewerLanguageFromRegistry();

private:
    std::optional<ProcessStateGuard> m_state;
};

void InterfaceLanguageTest::choosesLanguage_data()
{
    QTest::addColumn<bool>("viewerOpen");
    QTest::addColumn<QString>("viewerLanguage");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<int>("deviceLanguage");
    QTest::addColumn<int>("index");

    const QStringList enFrEs{u"en"_s, u"fr-CA"_s, u"es"_s};
    QTest::newRow("viewer German beats device") << true << u"German"_s << enFrEs << 1 << 7;
    QTest::newRow("viewer name in capitals") << true << u"CHINESETRADITIONAL"_s << enFrEs << 2 << 6;
    QTest::newRow("viewer open, no value") << true << QString() << enFrEs << 1 << 0;
    QTest::newRow("viewer open, unknown name") << true << u"Klingon"_s << enFrEs << 1 << 0;
    QTest::newRow("viewer open, no ver.dat") << true << u"japanese"_s << QStringList{} << 0 << 9;
    QTest::newRow("device French (Canada)") << false << u"German"_s << enFrEs << 1 << 1;
    QTest::newRow("device Spanish") << false << QString() << enFrEs << 2 << 4;
    QTest::newRow("no ver.dat") << false << QString() << QStringList{} << 3 << 0;
    QTest::newRow("zh-Hant is not Traditional") << false << QString() << QStringList{u"zh-Hant"_s} << 0 << 0;
    QTest::newRow("zh-Hant-HK") << false << QString() << QStringList{u"zh-Hant-HK"_s} << 0 << 6;
    QTest::newRow("zh-Hans") << false << QString() << QStringList{u"en"_s, u"zh-Hans"_s} << 1 << 5;
    QTest::newRow("FR in capitals") << false << QString() << QStringList{u"FR"_s} << 0 << 0;
    QTest::newRow("every device code")
        << false << QString()
        << QStringList{u"ko"_s, u"de"_s, u"it"_s, u"ja"_s, u"pt"_s, u"ru"_s, u"en-GB"_s, u"fr"_s} << 4 << 10;
    QTest::newRow("position past the list") << false << QString() << enFrEs << 3 << 0;
    QTest::newRow("negative position") << false << QString() << enFrEs << -1 << 0;
}

void InterfaceLanguageTest::choosesLanguage()
{
    QFETCH(bool, viewerOpen);
    QFETCH(QString, viewerLanguage);
    QFETCH(QStringList, codes);
    QFETCH(int, deviceLanguage);
    QFETCH(int, index);
    QCOMPARE(InterfaceLanguage::ChooseInterfaceLanguage(viewerOpen, viewerLanguage, codes, deviceLanguage),
             index);

    // The same through the window lookup, with the name as read from the registry.
    ViewerLanguage::Instance().SetName(viewerLanguage);
    const FakeWindowFinder windows(viewerOpen ? QStringList{u"Other"_s, u"ORBELMARK DASHCAM PC VIEWER"_s}
                                              : QStringList{u"ORBELMARK DASHCAM PC VIEWER 2"_s});
    QCOMPARE(InterfaceLanguage::ChooseInterfaceLanguage(windows, codes, deviceLanguage), index);
}

void InterfaceLanguageTest::readsViewerLanguageFromRegistry_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("name");
    QTest::newRow("present") << u"SOFTWARE\\ORBELMARK"_s << u"LANGUAGE"_s << u"German"_s << true
                             << u"German"_s;
    QTest::newRow("key and value case")
        << u"software\\orbelmark"_s << u"language"_s << u"french"_s << true << u"french"_s;
    QTest::newRow("other value") << u"SOFTWARE\\ORBELMARK"_s << u"LANG"_s << u"German"_s << false
                                 << QString();
    QTest::newRow("other key") << u"SOFTWARE\\OTHER"_s << u"LANGUAGE"_s << u"German"_s << false << QString();
    // 129 characters and the terminator fill the 260-byte buffer; one more does not fit.
    QTest::newRow("longest readable")
        << u"SOFTWARE\\ORBELMARK"_s << u"LANGUAGE"_s << QString(129, u'x') << true << QString(129, u'x');
    QTest::newRow("too long") << u"SOFTWARE\\ORBELMARK"_s << u"LANGUAGE"_s << QString(130, u'x') << false
                              << QString();
}

void InterfaceLanguageTest::readsViewerLanguageFromRegistry()
{
    QFETCH(QString, key);
    QFETCH(QString, valueName);
    QFETCH(QString, stored);
    QFETCH(bool, ok);
    QFETCH(QString, name);
    ViewerLanguage::Instance().SetName(u"stale"_s);
    const CRegistryManager registry(std::make_shared<FakeRegistry>(key, valueName, stored));
    QCOMPARE(InterfaceLanguage::ReadViewerLanguage(registry), ok);
    QCOMPARE(ViewerLanguage::Instance().Name(), name);
}

QTEST_GUILESS_MAIN(InterfaceLanguageTest)
#include "InterfaceLanguageTest.moc"
