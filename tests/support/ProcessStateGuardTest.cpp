#include "tests/support/ProcessStateGuard.h"

#include "settings/SystemClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;

namespace {

QString Address(const void* object)
{
    return QString::number(quintptr(object), 16);
}

// Everything the guard keeps, one line a value, so that a comparison names what differs.
QStringList Describe()
{
    QStringList lines;
    const SettingsRecord* record = SettingsRecord::Instance();
    lines << u"record: "_s + (record ? QString::fromLatin1(record->ToByteArray().toHex()) : u"absent"_s);
    const DeviceClock& clock = DeviceClock::Instance();
    lines << u"device clock: %1 %2-%3-%4 (%5) %6:%7:%8.%9"_s.arg(clock.is_set)
                 .arg(clock.year)
                 .arg(clock.month)
                 .arg(clock.day)
                 .arg(clock.day_of_week)
                 .arg(clock.hour)
                 .arg(clock.minute)
                 .arg(clock.second)
                 .arg(clock.milliseconds);
    lines << u"card root: "_s + CardRoot::Instance().Folder();
    lines << u"language pack: %1 %2"_s.arg(LanguagePack::Instance().IsLoaded())
                 .arg(LanguagePack::Instance().Text(u"IDS_STRING101"));
    lines << u"language folder: "_s + LanguagePack::ResourceFolder();
    lines << u"viewer language: "_s + ViewerLanguage::Instance().Name();
    const PlatformServices& services = PlatformServices::Instance();
    lines << u"platform: "_s +
                 QStringList{Address(services.Drives().get()),   Address(services.AppData().get()),
                             Address(services.Launcher().get()), Address(services.Registry().get()),
                             Address(services.Windows().get()),  Address(services.Formatter().get()),
                             Address(services.Viewer().get()),   Address(services.Volumes().get()),
                             Address(services.Display().get()),  Address(services.TimeZones().get())}
                     .join(u' ');
    const FormatEnvironment& format = FormatEnvironment::Instance();
    lines << u"format environment: %1 %2 %3 %4"_s.arg(format.programFile)
                 .arg(format.finalPause.count())
                 .arg(format.viewerWaitBound.count())
                 .arg(bool(format.capacity));
    const std::optional<QDateTime>& now = SystemClock::Instance().FixedNow();
    lines << u"fixed now: "_s + (now ? now->toString(Qt::ISODate) : u"none"_s);
    const PopupRecorder& popups = PopupRecorder::Instance();
    lines << u"popups: %1 [%2] %3 %4"_s.arg(popups.IsRecording())
                 .arg(PopupRecorder::Captions(popups.Popups()).join(u','))
                 .arg(popups.QueuedAnswers())
                 .arg(popups.StandingAnswer());
    return lines;
}

} // namespace

// The guard puts back each process-wide value a test changed, whichever it is.
class ProcessStateGuardTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void everyValueIsPutBack_data();
    void everyValueIsPutBack();

private:
    QTemporaryDir m_languages;
    std::map<QString, std::function<void()>> m_changes;
};

void ProcessStateGuardTest::initTestCase()
{
    QVERIFY(m_languages.isValid());
    QFile english(m_languages.filePath(u"english"_s));
    QVERIFY(english.open(QIODevice::WriteOnly));
    english.write("[text]\nIDS_STRING101=\"Changed\"\n");
    english.close();
    const QString languages = m_languages.path();

    m_changes = {
        {u"record bytes"_s, [] { SettingsRecord::Instance()->SetInt32(Field::partition_type, 3); }},
        {u"record released"_s, [] { SettingsRecord::ReleaseInstance(); }},
        {u"device clock"_s,
         [] {
             DeviceClock& clock = DeviceClock::Instance();
             clock.is_set = true;
             clock.year = 2031, clock.month = 5, clock.day_of_week = 2, clock.day = 6;
             clock.hour = 7, clock.minute = 8, clock.second = 9, clock.milliseconds = 10;
         }},
        {u"card root"_s, [] { CardRoot::Instance().Set(u"/media/other/"_s); }},
        {u"language pack"_s,
         [languages] {
             const QString folder = LanguagePack::ResourceFolder();
             LanguagePack::SetResourceFolder(languages);
             LoadLanguagePack(QString());
             LanguagePack::SetResourceFolder(folder);
         }},
        {u"language folder"_s, [languages] { LanguagePack::SetResourceFolder(languages); }},
        {u"viewer language"_s, [] { ViewerLanguage::Instance().SetName(u"German"_s); }},
        {u"platform services"_s, [] { PlatformServices::Instance() = PlatformServices::Defaults(); }},
        {u"format environment"_s,
         [] {
             FormatEnvironment& format = FormatEnvironment::Instance();
             format.programFile = u"/tmp/other"_s;
             format.finalPause = std::chrono::milliseconds(0);
             format.viewerWaitBound = std::chrono::milliseconds(5);
             format.capacity = [](const QString&) { return std::optional<qint64>(1); };
         }},
        {u"fixed now"_s,
         [] { SystemClock::Instance().SetFixedNow(QDateTime(QDate(2031, 5, 6), QTime(7, 8, 9))); }},
        {u"popup recorder"_s,
         [] {
             PopupRecorder& popups = PopupRecorder::Instance();
             popups.SetRecording(true);
             popups.Record({u"Caption"_s, u"text"_s, {}});
             popups.QueueAnswer(false);
             popups.QueueFolder(u"/media/card/"_s);
             popups.SetStandingAnswer(false);
         }},
    };
}

// Every row starts from the same known values, a record among them.
void ProcessStateGuardTest::init()
{
    SettingsRecord::CreateInstance().SetInt32(Field::partition_type, 1);
    DeviceClock::Instance() = DeviceClock();
    CardRoot::Instance().Set(u"/media/card/"_s);
    LanguagePack::SetResourceFolder(u":/LANGUAGE"_s);
    QVERIFY(LoadLanguagePack(u"english"_s));
    ViewerLanguage::Instance().SetName(u"French"_s);
    FormatEnvironment::Instance() = FormatEnvironment();
    SystemClock::Instance().SetFixedNow(std::nullopt);
    PopupRecorder::Instance().SetRecording(false);
}

void ProcessStateGuardTest::everyValueIsPutBack_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("recordBefore");

    for (const auto& [name, change] : m_changes)
        QTest::newRow(qPrintable(name)) << QStringList{name} << true;
    QTest::newRow("record created") << QStringList{} << false;
    QStringList all;
    for (const auto& [name, change] : m_changes) {
        if (name != "record released"_L1)
            all.append(name);
    }
    QTest::newRow("everything at once") << all << true;
}

void ProcessStateGuardTest::everyValueIsPutBack()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, recordBefore);
    if (!recordBefore)
        SettingsRecord::ReleaseInstance();
    const QStringList before = Describe();
    {
        const ProcessStateGuard guard;
        if (!recordBefore)
            SettingsRecord::CreateInstance().SetInt32(Field::partition_type, 2);
        for (const QString& name : changes)
            m_changes.at(name)();
        // Each change is one the guard has to undo.
        QVERIFY(Describe() != before);
    }
    QCOMPARE(Describe(), before);
}

QTEST_GUILESS_MAIN(ProcessStateGuardTest)
#include "ProcessStateGuardTest.moc"
