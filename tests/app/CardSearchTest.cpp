#include "app/CardSearch.h"

#include "app/CSettingApp.h"
#include "app/CardChooserDlg.h"
#include "app/NoCardDlg.h"
#include "device/ViewerHandshake.h"
#include "i18n/LanguagePack.h"
#include "platform/PopupRecorder.h"
#include "startup/CardFinder.h"
#include "startup/InterfaceLanguage.h"
#include "tests/fakes/FakeDriveInfo.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/FakeRegistry.h"
#include "tests/fakes/FakeVolumeList.h"
#include "tests/fakes/FakeWindowFinder.h"
#include "tests/support/ProcessStateGuard.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

enum Content
{
    Empty,
    SetupFile,
    DefaultFile,
};

// What a test lists as mounted: a folder of its own, removable or fixed, holding what it says.
struct VolumeSpec
{
    QString name;
    bool removable;
    Content content;
    QByteArray device;
    bool ready = true;
};

} // namespace

Q_DECLARE_METATYPE(QList<VolumeSpec>)

class CardSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_state.emplace();
        m_folders = std::make_unique<QTemporaryDir>();
        m_volumes = std::make_shared<FakeVolumeList>();
        m_drives = std::make_shared<FakeDriveInfo>();
        LoadLanguagePack(u"english"_s);
        PopupRecorder::Instance().SetRecording(true);
    }

    void cleanup()
    {
        qDeleteAll(m_timers);
        m_timers.clear();
        m_folders.reset();
        m_state.reset();
    }

    void findsRemovableCardsHoldingSettings_data()
    {
        QTest::addColumn<QList<VolumeSpec>>("volumes");
        QTest::addColumn<QStringList>("found");

        QTest::newRow("no volume") << QList<VolumeSpec>{} << QStringList{};
        QTest::newRow("one card") << QList<VolumeSpec>{{u"card"_s, true, SetupFile, "/dev/sdb1"}}
                                  << QStringList{u"card"_s};
        QTest::newRow("factory file only")
            << QList<VolumeSpec>{{u"card"_s, true, DefaultFile, "/dev/sdb1"}} << QStringList{u"card"_s};
        QTest::newRow("several cards, fixed and empty ones left out")
            << QList<VolumeSpec>{{u"root"_s, false, Empty, "/dev/sda1"},
                                 {u"first"_s, true, SetupFile, "/dev/sdb1"},
                                 {u"stick"_s, true, Empty, "/dev/sdc1"},
                                 {u"second"_s, true, DefaultFile, "/dev/mmcblk0p1"}}
            << QStringList{u"first"_s, u"second"_s};
        QTest::newRow("fixed disk holding setup.cfg is not offered")
            << QList<VolumeSpec>{{u"backup"_s, false, SetupFile, "/dev/sda2"}} << QStringList{};
        QTest::newRow("reader without a readable card")
            << QList<VolumeSpec>{{u"card"_s, true, SetupFile, "/dev/sdb1", false}} << QStringList{};
        QTest::newRow("one card mounted twice")
            << QList<VolumeSpec>{{u"card"_s, true, SetupFile, "/dev/sdb1"},
                                 {u"bound"_s, true, SetupFile, "/dev/sdb1"}}
            << QStringList{u"card"_s};
    }

    void findsRemovableCardsHoldingSettings()
    {
        QFETCH(QList<VolumeSpec>, volumes);
        QFETCH(QStringList, found);
        for (const VolumeSpec& volume : volumes)
            AddVolume(volume);

        QStringList roots;
        for (const CardCandidate& card : CardFinder(*m_volumes, *m_drives).FindCards())
            roots.append(card.root);
        QStringList expected;
        for (const QString& name : found)
            expected.append(Root(name));
        QCOMPARE(roots, expected);
    }

    void chooserListsCardsAndReturnsTheChosenOne()
    {
        const QList<CardCandidate> cards{{Root(u"a"_s), u"DASHCAM"_s, 31'914'983'424},
                                         {Root(u"b"_s), QString(), 63'831'015'424}};
        CardChooserDlg chooser(cards);
        chooser.show();
        QTreeWidget* list = chooser.CardList();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), u"DASHCAM"_s);
        QCOMPARE(list->topLevelItem(0)->text(1), CardChooserDlg::SizeText(31'914'983'424));
        QCOMPARE(list->topLevelItem(0)->text(2), Root(u"a"_s));
        QCOMPARE(list->topLevelItem(1)->text(0), u"(no label)"_s);
        QCOMPARE(list->topLevelItem(1)->text(2), Root(u"b"_s));
        QCOMPARE(list->headerItem()->text(1), u"Size"_s);

        const QRect second = list->visualItemRect(list->topLevelItem(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseClick(chooser.OpenButton(), Qt::LeftButton);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(chooser.ChosenRoot(), Root(u"b"_s));
    }

    // A "32 GB" card holds 32 * 1000^3 bytes; in powers of 1024 it would read 29.8.
    void sizesAreShownAsOnTheCardsPackaging()
    {
        const QString text = CardChooserDlg::SizeText(32'000'000'000);
        QVERIFY2(text.startsWith(u"32"_s) && text.endsWith(u" GB"_s), qPrintable(text));
    }

    // The whole search as the program runs it, the windows answered as a user would.
    void searchOutcome_data()
    {
        QTest::addColumn<QList<VolumeSpec>>("volumes");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected"); // a volume's name, a folder's name, or empty

        const QList<VolumeSpec> two{{u"first"_s, true, SetupFile, "/dev/sdb1"},
                                    {u"second"_s, true, SetupFile, "/dev/sdc1"}};
        QTest::newRow("one card opens at once")
            << QList<VolumeSpec>{{u"card"_s, true, SetupFile, "/dev/sdb1"}} << u"none"_s << u"card"_s;
        QTest::newRow("several: the chosen one") << two << u"choose second"_s << u"second"_s;
        QTest::newRow("several: cancelled") << two << u"cancel"_s << QString();
        QTest::newRow("none: folder picked by hand")
            << QList<VolumeSpec>{} << u"pick folder"_s << u"picked"_s;
        QTest::newRow("none: closed") << QList<VolumeSpec>{} << u"close"_s << QString();
        QTest::newRow("none: picker cancelled, then closed")
            << QList<VolumeSpec>{} << u"cancel picker"_s << QString();
        QTest::newRow("none: card inserted, looked again")
            << QList<VolumeSpec>{} << u"insert and look again"_s << u"inserted"_s;
        QTest::newRow("none: two inserted, looked again, chosen")
            << QList<VolumeSpec>{} << u"insert two, look again, choose first"_s << u"first"_s;
    }

    void searchOutcome()
    {
        QFETCH(QList<VolumeSpec>, volumes);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        for (const VolumeSpec& volume : volumes)
            AddVolume(volume);
        QVERIFY(QDir().mkpath(m_folders->filePath(u"picked"_s)));

        int windowsSeen = 0;
        QStringList statusTexts;
        const auto answer = [&](QDialog* window) {
            ++windowsSeen;
            auto* chooser = qobject_cast<CardChooserDlg*>(window);
            auto* noCard = qobject_cast<NoCardDlg*>(window);
            if (chooser && action.contains(u"choose"_s)) {
                const int row = action.endsWith(u"first"_s) ? 0 : 1;
                QTreeWidget* list = chooser->CardList();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->topLevelItem(row)).center());
                QTest::mouseClick(chooser->OpenButton(), Qt::LeftButton);
            } else if (chooser) {
                QTest::mouseClick(window->findChild<QPushButton*>(u"cancelButton"_s), Qt::LeftButton);
            } else if (noCard && action == "pick folder"_L1) {
                PopupRecorder::Instance().QueueFolder(m_folders->filePath(u"picked"_s));
                QTest::mouseClick(noCard->ChooseFolderButton(), Qt::LeftButton);
            } else if (noCard && action == "cancel picker"_L1) {
                PopupRecorder::Instance().QueueFolder(QString());
                QTest::mouseClick(noCard->ChooseFolderButton(), Qt::LeftButton);
                QVERIFY(noCard->isVisible());
                QTest::mouseClick(noCard->CloseButton(), Qt::LeftButton);
            } else if (noCard && action.startsWith(u"insert"_s)) {
                // Looking again before the card is in changes nothing but the status line.
                QTest::mouseClick(noCard->LookAgainButton(), Qt::LeftButton);
                QVERIFY(noCard->isVisible());
                statusTexts.append(noCard->StatusLabel()->text());
                if (action.startsWith(u"insert two"_s)) {
                    AddVolume({u"first"_s, true, SetupFile, "/dev/sdb1"});
                    AddVolume({u"second"_s, true, DefaultFile, "/dev/sdc1"});
                } else {
                    AddVolume({u"inserted"_s, true, SetupFile, "/dev/sdd1"});
                }
                QTest::mouseClick(noCard->LookAgainButton(), Qt::LeftButton);
            } else {
                QTest::mouseClick(noCard ? noCard->CloseButton() : nullptr, Qt::LeftButton);
            }
        };
        AnswerModalWindows(answer);

        const CardFinder finder(*m_volumes, *m_drives);
        const QString root = CardSearch(finder).FindCardRoot();
        QCOMPARE(root, expected.isEmpty() ? QString() : Root(expected));
        if (action == "none"_L1)
            QCOMPARE(windowsSeen, 0);
        if (action.startsWith(u"insert"_s))
            QCOMPARE(statusTexts, QStringList{u"Still no camera memory card found."_s});
    }

    // Before a card is known the windows speak the open viewer's language, else the PC's.
    void searchWindowsLanguage_data()
    {
        QTest::addColumn<bool>("viewerOpen");
        QTest::addColumn<QString>("viewerLanguage");
        QTest::addColumn<QString>("pcLocale");
        QTest::addColumn<QString>("closeText");

        QTest::newRow("German PC") << false << u"french"_s << u"de_DE"_s << u"Schließen"_s;
        QTest::newRow("Taiwanese PC") << false << QString() << u"zh_TW"_s << u"關閉"_s;
        QTest::newRow("Dutch PC: English") << false << QString() << u"nl_NL"_s << u"Close"_s;
        QTest::newRow("viewer open in French") << true << u"French"_s << u"ja_JP"_s << u"Fermer"_s;
    }

    void searchWindowsLanguage()
    {
        QFETCH(bool, viewerOpen);
        QFETCH(QString, viewerLanguage);
        QFETCH(QString, pcLocale);
        QFETCH(QString, closeText);

        InstallFakePlatform();
        PlatformServices& services = PlatformServices::Instance();
        services.SetVolumes(m_volumes);
        services.SetDrives(m_drives);
        services.SetRegistry(
            std::make_shared<FakeRegistry>(u"SOFTWARE\\ORBELMARK"_s, u"LANGUAGE"_s, viewerLanguage));
        services.SetWindows(std::make_shared<FakeWindowFinder>(
            viewerOpen ? QStringList{ViewerHandshake::ViewerTitle} : QStringList{}));

        QString shownCloseText;
        AnswerModalWindows([&](QDialog* window) {
            auto* noCard = qobject_cast<NoCardDlg*>(window);
            QVERIFY(noCard);
            shownCloseText = noCard->CloseButton()->text();
            QTest::mouseClick(noCard->CloseButton(), Qt::LeftButton);
        });
        QCOMPARE(CSettingApp::CardRootWithoutArguments(QLocale(pcLocale)), QString());
        QCOMPARE(shownCloseText, closeText);
    }

    void localeLanguages_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("index");
        QTest::newRow("C") << u"C"_s << 0;
        QTest::newRow("en_US") << u"en_US"_s << 0;
        QTest::newRow("fr_CA") << u"fr_CA"_s << 1;
        QTest::newRow("ru_RU") << u"ru_RU"_s << 2;
        QTest::newRow("ko_KR") << u"ko_KR"_s << 3;
        QTest::newRow("es_MX") << u"es_MX"_s << 4;
        QTest::newRow("zh_CN") << u"zh_CN"_s << 5;
        QTest::newRow("zh_SG") << u"zh_SG"_s << 5;
        QTest::newRow("zh_TW") << u"zh_TW"_s << 6;
        QTest::newRow("zh_HK") << u"zh_HK"_s << 6;
        QTest::newRow("de_AT") << u"de_AT"_s << 7;
        QTest::newRow("it_IT") << u"it_IT"_s << 8;
        QTest::newRow("ja_JP") << u"ja_JP"_s << 9;
        QTest::newRow("pt_BR") << u"pt_BR"_s << 10;
        QTest::newRow("nl_NL") << u"nl_NL"_s << 0;
    }

    void localeLanguages()
    {
        QFETCH(QString, locale);
        QTEST(InterfaceLanguage::IndexOfLocale(QLocale(locale)), "index");
    }

    // With SCREENSHOT_DIR set, writes both search windows in a few languages for review.
    void searchWindowsScreenshots_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : {"english", "german", "russian", "japanese", "chinesetraditional"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void searchWindowsScreenshots()
    {
        QFETCH(QString, language);
        const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("set SCREENSHOT_DIR to write screenshots");
        QVERIFY(LoadLanguagePack(language));

        NoCardDlg noCard({});
        noCard.show();
        QTest::mouseClick(noCard.LookAgainButton(), Qt::LeftButton); // shows the status line too
        QVERIFY(noCard.isVisible());
        QVERIFY(noCard.grab().save(folder + u"/no-card-"_s + language + u".png"_s));

        CardChooserDlg chooser({{u"/media/driver/DASHCAM/"_s, u"DASHCAM"_s, 31'914'983'424},
                                {u"/media/driver/3061-6538/"_s, QString(), 63'831'015'424}});
        chooser.show();
        QVERIFY(chooser.grab().save(folder + u"/card-chooser-"_s + language + u".png"_s));
    }

private:
    QString Root(const QString& name) const { return m_folders->filePath(name) + u'/'; }

    void AddVolume(const VolumeSpec& volume)
    {
        const QString root = Root(volume.name);
        QVERIFY(QDir().mkpath(root));
        if (volume.content != Empty) {
            QFile file(root + (volume.content == SetupFile ? u"setup.cfg"_s : u"default.cfg"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(564, '\0'));
        }
        m_volumes->m_volumes.append(
            MountedVolume{root, volume.name.toUpper(), 32'000'000'000, volume.device, volume.ready});
        m_drives->Mount(root, volume.removable);
    }

    // Hands every modal window that opens from now on to answer, until the test ends.
    void AnswerModalWindows(std::function<void(QDialog*)> answer)
    {
        auto* timer = new QTimer(this);
        timer->setInterval(20);
        QPointer<QWidget> answered;
        connect(timer, &QTimer::timeout, this, [timer, answer, answered]() mutable {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!window || window == answered || !window->isVisible())
                return;
            answered = window;
            answer(window);
            // A failed check inside answer must not leave the test waiting for the window.
            if (window->isVisible())
                window->reject();
        });
        timer->start();
        m_timers.append(timer);
    }

    std::optional<ProcessStateGuard> m_state;
    std::unique_ptr<QTemporaryDir> m_folders;
    std::shared_ptr<FakeVolumeList> m_volumes;
    std::shared_ptr<FakeDriveInfo> m_drives;
    QList<QTimer*> m_timers;
};

QTEST_MAIN(CardSearchTest)
#include "CardSearchTest.moc"
