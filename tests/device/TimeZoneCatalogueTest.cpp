#include "device/CTimeZoneInfoManager.h"
#include "settings/SettingsRecord.h"
#include "tests/fakes/FakeTimeZoneSource.h"
#include "tests/support/DebugLineRecorder.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Zone = FakeTimeZoneSource::Zone;

// A small world: three zones at UTC+9 (listed out of name order), two at UTC+1, one west.
QList<Zone> World()
{
    return {
        {u"Tokyo Standard Time"_s, 540, {}},        {u"Korea Standard Time"_s, 540, {}},
        {u"W. Europe Standard Time"_s, 60, {}, 60}, {u"Eastern Standard Time"_s, -300, {}, 60},
        {u"Romance Standard Time"_s, 60, {}, 60},   {u"Yakutsk Standard Time"_s, 540, {}},
    };
}

std::shared_ptr<FakeTimeZoneSource> WorldSource()
{
    auto source = std::make_shared<FakeTimeZoneSource>(World());
    source->SetCurrent(60, u"Romance Standard Time"_s);
    return source;
}

QStringList Keys(const CTimeZoneInfoManager& catalogue)
{
    QStringList keys;
    for (int i = 0; i < catalogue.Count(); ++i)
        keys.append(catalogue.Entry(i).key_name);
    return keys;
}

SettingsRecord RecordWithZone(const QByteArray& name, int bias)
{
    SettingsRecord record;
    record.SetBytes(Field::time_zone_name, name);
    record.SetInt32(Field::time_zone_bias, bias);
    return record;
}

} // namespace

// The catalogue's own rules over a database written out in the test: which zones it keeps,
// their order, how a stored zone is found again and how a selection reaches the settings block.
class TimeZoneCatalogueTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exclusion_data();
    void exclusion();
    void exclusionRestartsAfterEachRemoval();
    void loadSortsEastToWestThenByStandardName();
    void loadReportsEachZoneInListingOrder();
    void unreadableZonesAreLeftOut();
    void findZone_data();
    void findZone();
    void findSystemZone_data();
    void findSystemZone();
    void selectFromRecord_data();
    void selectFromRecord();
    void pcZoneLeftOutStandsInByItsOffset_data();
    void pcZoneLeftOutStandsInByItsOffset();
    void storeSelectionWritesKeyNameAndBias();
    void emptyDatabase();
};

void TimeZoneCatalogueTest::exclusion_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("kept");

    QTest::newRow("UTC") << u"UTC"_s << false;
    QTest::newRow("UTC-11") << u"UTC-11"_s << false;
    QTest::newRow("utc+12, case ignored") << u"utc+12"_s << false;
    QTest::newRow("Mexico Standard Time 2") << u"Mexico Standard Time 2"_s << false;
    QTest::newRow("Middle East Standard Time") << u"Middle East Standard Time"_s << false;
    QTest::newRow("VENEZUELA STANDARD TIME") << u"VENEZUELA STANDARD TIME"_s << false;
    QTest::newRow("Tonga Standard Time") << u"Tonga Standard Time"_s << true;
    QTest::newRow("Arabian: not Argentina or Armenian") << u"Arabian Standard Time"_s << true;
    QTest::newRow("shorter than a prefix") << u"UT"_s << true;
    QTest::newRow("prefix inside the name") << u"Central Mexico"_s << true;
    QTest::newRow("Mountain Standard Time (Mexico)") << u"Mountain Standard Time (Mexico)"_s << true;
}

void TimeZoneCatalogueTest::exclusion()
{
    QFETCH(QString, key);
    QFETCH(bool, kept);

    const CTimeZoneInfoManager catalogue(
        std::make_shared<FakeTimeZoneSource>(QList<Zone>{{u"Tokyo Standard Time"_s, 540, {}}, {key, 0, {}}}));
    QCOMPARE(catalogue.KeyList().contains(key), kept);
    QCOMPARE(Keys(catalogue).contains(key), kept);
    QCOMPARE(catalogue.Count(), kept ? 2 : 1);
}

void TimeZoneCatalogueTest::exclusionRestartsAfterEachRemoval()
{
    QStringList keys{u"UTC"_s,    u"UTC-11"_s, u"Tokyo"_s,     u"utc+12"_s,
                     u"Turkey"_s, u"Tonga"_s,  u"Argentina"_s, u"UTC+13"_s};
    CTimeZoneInfoManager::Exclude(keys);
    QCOMPARE(keys, (QStringList{u"Tokyo"_s, u"Tonga"_s}));
    QCOMPARE(CTimeZoneInfoManager::ExcludedPrefixes().size(), 17);
}

void TimeZoneCatalogueTest::loadSortsEastToWestThenByStandardName()
{
    auto source = std::make_shared<FakeTimeZoneSource>(QList<Zone>{
        {u"b"_s, 60, u"Zone"_s},
        {u"c"_s, 60, u"Zone A"_s},
        {u"d"_s, 60, u"zone"_s},
        {u"e"_s, 60, u"Yard"_s},
        {u"f"_s, 61, u"Zzz"_s},
        {u"g"_s, -60, u"Aaa"_s},
        {u"h"_s, 60, u"\u00c9t\u00e9"_s},
    });
    const CTimeZoneInfoManager catalogue(source);
    // Code units, case-sensitive: "Yard" < "Zone" < "Zone A" < "zone" < "Été".
    QCOMPARE(Keys(catalogue), (QStringList{u"f"_s, u"e"_s, u"b"_s, u"c"_s, u"d"_s, u"h"_s, u"g"_s}));

    const CTimeZoneInfoManager world(WorldSource());
    QCOMPARE(Keys(world), (QStringList{u"Korea Standard Time"_s, u"Tokyo Standard Time"_s,
                                       u"Yakutsk Standard Time"_s, u"Romance Standard Time"_s,
                                       u"W. Europe Standard Time"_s, u"Eastern Standard Time"_s}));
    QCOMPARE(world.Entry(0).tzi.Bias, 540);
    QCOMPARE(world.Entry(5).tzi.Bias, -300);
    QCOMPARE(world.Entry(5).tzi.DaylightBias, 60);
    QCOMPARE(world.Entry(0).display_name, u"(zone) Korea Standard Time"_s);
}

void TimeZoneCatalogueTest::loadReportsEachZoneInListingOrder()
{
    DebugLineRecorder recorder;
    auto source = std::make_shared<FakeTimeZoneSource>(QList<Zone>{
        {u"UTC"_s, 0, {}},
        {u"Tokyo Standard Time"_s, 540, {}},
        {u"Eastern Standard Time"_s, -300, {}, 60},
    });
    const CTimeZoneInfoManager catalogue(source);
    QCOMPARE(
        recorder.Lines(),
        (QStringList{
            u"\t0\t[Tokyo Standard Time]\t[(zone) Tokyo Standard Time]\tBias[540]\tDaylightBias[0]\n"_s,
            u"\t1\t[Eastern Standard Time]\t[(zone) Eastern Standard Time]\tBias[-300]\tDaylightBias[60]\n"_s,
        }));
}

void TimeZoneCatalogueTest::unreadableZonesAreLeftOut()
{
    DebugLineRecorder recorder;
    auto source = std::make_shared<FakeTimeZoneSource>(QList<Zone>{{u"Tokyo Standard Time"_s, 540, {}}},
                                                       QStringList{u"Broken Standard Time"_s});
    const CTimeZoneInfoManager catalogue(source);
    QCOMPARE(catalogue.KeyList(), (QStringList{u"Tokyo Standard Time"_s, u"Broken Standard Time"_s}));
    QCOMPARE(Keys(catalogue), QStringList{u"Tokyo Standard Time"_s});
    QCOMPARE(recorder.Lines().size(), 1);
}

void TimeZoneCatalogueTest::findZone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("bias");
    QTest::addColumn<int>("row");

    // Rows: 0 Korea, 1 Tokyo, 2 Yakutsk (540); 3 Romance, 4 W. Europe (60); 5 Eastern (-300).
    QTest::newRow("name and bias") << u"Tokyo Standard Time"_s << 540 << 1;
    QTest::newRow("name is case-sensitive: last zone at the bias") << u"tokyo standard time"_s << 540 << 2;
    QTest::newRow("unknown name: last zone at the bias") << u"Old Standard Time"_s << 540 << 2;
    QTest::newRow("known name, other bias: last zone at that bias") << u"Tokyo Standard Time"_s << 60 << 4;
    QTest::newRow("unknown name and bias: row 0") << u"Old Standard Time"_s << 7 << 0;
    QTest::newRow("empty name: first zone at the bias") << QString() << 540 << 0;
    QTest::newRow("empty name, second group") << QString() << 60 << 3;
    QTest::newRow("empty name, no zone at the bias") << QString() << 7 << -1;
}

void TimeZoneCatalogueTest::findZone()
{
    QFETCH(QString, name);
    QFETCH(int, bias);
    QFETCH(int, row);

    const CTimeZoneInfoManager catalogue(WorldSource());
    QCOMPARE(catalogue.FindZone(name, bias), row);
}

void TimeZoneCatalogueTest::findSystemZone_data()
{
    QTest::addColumn<int>("minutesEast");
    QTest::addColumn<QString>("standardName");
    QTest::addColumn<int>("standardBias");
    QTest::addColumn<int>("row");

    QTest::newRow("bias and name") << 60 << u"W. Europe Standard Time"_s << 0 << 4;
    QTest::newRow("name at another bias") << -300 << u"W. Europe Standard Time"_s << 0 << 0;
    QTest::newRow("other standard bias") << 60 << u"W. Europe Standard Time"_s << -5 << 0;
    QTest::newRow("name is case-sensitive") << 60 << u"w. europe standard time"_s << 0 << 0;
    QTest::newRow("not in the catalogue") << 0 << u"Coordinated Universal Time"_s << 0 << 0;
}

void TimeZoneCatalogueTest::findSystemZone()
{
    QFETCH(int, minutesEast);
    QFETCH(QString, standardName);
    QFETCH(int, standardBias);
    QFETCH(int, row);

    auto source = WorldSource();
    source->SetCurrent(minutesEast, standardName, standardBias);
    const CTimeZoneInfoManager catalogue(source);
    QCOMPARE(catalogue.FindSystemZone(), row);
}

void TimeZoneCatalogueTest::selectFromRecord_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("bias");
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("storedName");
    QTest::addColumn<int>("storedBias");

    // The PC is in Romance Standard Time (row 3).
    QTest::newRow("unset: the PC's zone is written")
        << QByteArray() << 0 << 3 << "Romance Standard Time"_ba << 60;
    QTest::newRow("stored zone") << "Tokyo Standard Time"_ba << 540 << 1 << "Tokyo Standard Time"_ba << 540;
    QTest::newRow("empty name, bias 540: first zone there, unchanged")
        << QByteArray() << 540 << 0 << QByteArray() << 540;
    QTest::newRow("unknown name at 540: last zone there, unchanged")
        << "Gone Standard Time"_ba << 540 << 2 << "Gone Standard Time"_ba << 540;
    QTest::newRow("unknown name and bias: row 0, unchanged")
        << "Gone Standard Time"_ba << 7 << 0 << "Gone Standard Time"_ba << 7;
    QTest::newRow("empty name, unknown bias: the PC's zone, unchanged")
        << QByteArray() << 7 << 3 << QByteArray() << 7;
    QTest::newRow("name without bias")
        << "W. Europe Standard Time"_ba << 0 << 0 << "W. Europe Standard Time"_ba << 0;
}

void TimeZoneCatalogueTest::selectFromRecord()
{
    QFETCH(QByteArray, name);
    QFETCH(int, bias);
    QFETCH(int, row);
    QFETCH(QByteArray, storedName);
    QFETCH(int, storedBias);

    const CTimeZoneInfoManager catalogue(WorldSource());
    SettingsRecord record = RecordWithZone(name, bias);
    const SettingsRecord before = record;
    DebugLineRecorder recorder;
    QCOMPARE(catalogue.SelectFromRecord(record), row);
    QCOMPARE(recorder.Lines(),
             QStringList{u"TimeZone Read  [%1] Bias[%2]\n"_s.arg(QString::fromLatin1(name)).arg(bias)});
    QCOMPARE(record.Bytes(Field::time_zone_name), storedName.leftJustified(32, '\0'));
    QCOMPARE(record.Int32(Field::time_zone_bias), storedBias);
    // Nothing but the two zone fields ever changes.
    SettingsRecord expected = before;
    expected.SetBytes(Field::time_zone_name, storedName);
    expected.SetInt32(Field::time_zone_bias, storedBias);
    QCOMPARE(record.ToByteArray(), expected.ToByteArray());
}

void TimeZoneCatalogueTest::pcZoneLeftOutStandsInByItsOffset_data()
{
    QTest::addColumn<int>("pcMinutesEast");
    QTest::addColumn<int>("bias"); // stored with an empty name
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("storedName");
    QTest::addColumn<int>("storedBias");

    // The PC's zone is not in the catalogue (as UTC or Turkey would not be).
    QTest::newRow("unset: first zone at the PC's offset written")
        << 60 << 0 << 3 << "Romance Standard Time"_ba << 60;
    QTest::newRow("unset, no zone at the PC's offset: row 0 written")
        << 7 << 0 << 0 << "Korea Standard Time"_ba << 540;
    QTest::newRow("unknown bias: first zone at the PC's offset, unchanged")
        << 60 << 7 << 3 << QByteArray() << 7;
}

void TimeZoneCatalogueTest::pcZoneLeftOutStandsInByItsOffset()
{
    QFETCH(int, pcMinutesEast);
    QFETCH(int, bias);
    QFETCH(int, row);
    QFETCH(QByteArray, storedName);
    QFETCH(int, storedBias);

    auto source = WorldSource();
    source->SetCurrent(pcMinutesEast, u"Coordinated Universal Time"_s);
    const CTimeZoneInfoManager catalogue(source);
    QCOMPARE(catalogue.FindSystemZone(), 0);
    SettingsRecord record = RecordWithZone(QByteArray(), bias);
    QCOMPARE(catalogue.SelectFromRecord(record), row);
    QCOMPARE(record.Bytes(Field::time_zone_name), storedName.leftJustified(32, '\0'));
    QCOMPARE(record.Int32(Field::time_zone_bias), storedBias);
}

void TimeZoneCatalogueTest::storeSelectionWritesKeyNameAndBias()
{
    const CTimeZoneInfoManager catalogue(WorldSource());
    SettingsRecord record;
    record.SetBytes(Field::time_zone_name, QByteArray(32, 'x'));
    DebugLineRecorder recorder;
    catalogue.StoreSelection(5, record);
    QCOMPARE(record.Bytes(Field::time_zone_name), "Eastern Standard Time"_ba.leftJustified(32, '\0'));
    QCOMPARE(record.Int32(Field::time_zone_bias), -300);
    QCOMPARE(recorder.Lines(), QStringList{u"TimeZone [Eastern Standard Time] Bias[-300]\n"_s});

    // A name too long for the field keeps its terminator.
    auto longNames = std::make_shared<FakeTimeZoneSource>(
        QList<Zone>{{u"A Very Long Zone Name That Does Not Fit"_s, 120, {}}});
    const CTimeZoneInfoManager longCatalogue(longNames);
    longCatalogue.StoreSelection(0, record);
    QCOMPARE(record.Bytes(Field::time_zone_name), "A Very Long Zone Name That Does"_ba + '\0');

    // Rows outside the catalogue change nothing.
    const QByteArray before = record.ToByteArray();
    catalogue.StoreSelection(-1, record);
    catalogue.StoreSelection(6, record);
    QCOMPARE(record.ToByteArray(), before);
}

void TimeZoneCatalogueTest::emptyDatabase()
{
    const CTimeZoneInfoManager catalogue(std::make_shared<FakeTimeZoneSource>(QList<Zone>{}));
    QCOMPARE(catalogue.Count(), 0);
    QCOMPARE(catalogue.FindSystemZone(), 0);
    SettingsRecord record;
    QCOMPARE(catalogue.SelectFromRecord(record), 0);
    QCOMPARE(record.ToByteArray(), SettingsRecord().ToByteArray());
}

QTEST_GUILESS_MAIN(TimeZoneCatalogueTest)
#include "TimeZoneCatalogueTest.moc"
