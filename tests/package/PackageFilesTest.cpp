#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kAppId = QStringLiteral(DASHCAM_APP_ID);
const QString kInstallRoot = QStringLiteral(DASHCAM_INSTALL_ROOT);

struct Run
{
    int exitCode = -1;
    QString output; // standard output and error together
};

Run RunTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return {-1, program + u" did not run: "_s + tool.errorString()};
    return {tool.exitCode(), QString::fromUtf8(tool.readAll())};
}

// The files a user gets, relative to the installation prefix.
QStringList ExpectedFiles()
{
    return {
        u"bin/dashcam-settings"_s,
        u"share/applications/"_s + kAppId + u".desktop"_s,
        u"share/icons/hicolor/256x256/apps/"_s + kAppId + u".png"_s,
        u"share/icons/hicolor/64x64/apps/"_s + kAppId + u".png"_s,
        u"share/metainfo/"_s + kAppId + u".metainfo.xml"_s,
    };
}

QString InstalledFile(const QString& relative)
{
    return kInstallRoot + u'/' + relative;
}

// The entries of the desktop entry's main group.
QMap<QString, QString> DesktopEntry(const QString& path)
{
    QFile file(path);
    QMap<QString, QString> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#'))
            entries.insert(QString::fromUtf8(line.left(equals)).trimmed(),
                           QString::fromUtf8(line.mid(equals + 1)));
    }
    return entries;
}

QString PackageFile()
{
    const QStringList debs =
        QDir(QStringLiteral(DASHCAM_PACKAGE_FOLDER)).entryList({u"*.deb"_s}, QDir::Files);
    return debs.size() == 1 ? QStringLiteral(DASHCAM_PACKAGE_FOLDER "/") + debs.first() : QString();
}

// Package names of a Depends or Recommends field, without versions and alternatives' bars.
QStringList PackageNames(const QString& field)
{
    QStringList names;
    for (const QString& part : field.split(QRegularExpression(u"[,|]"_s), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed().section(u' ', 0, 0);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace

// What `cmake --install` and the Debian package put on a user's PC, checked with the tools the
// desktop and Debian themselves use.
class PackageFilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installsProgramDesktopEntryMetadataAndIcons()
    {
        QStringList installed;
        QDirIterator files(kInstallRoot, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            installed.append(QDir(kInstallRoot).relativeFilePath(files.next()));
        installed.sort();
        QCOMPARE(installed, ExpectedFiles());

        QVERIFY(QFileInfo(InstalledFile(u"bin/dashcam-settings"_s)).isExecutable());
        for (const int size : {64, 256}) {
            const QString icon =
                InstalledFile(u"share/icons/hicolor/%1x%1/apps/"_s.arg(size) + kAppId + u".png"_s);
            QImageReader reader(icon);
            QCOMPARE(reader.format(), QByteArray("png"));
            QCOMPARE(reader.size(), QSize(size, size));
        }
    }

    void desktopEntryIsValidAndOpensFolders()
    {
        const QString path = InstalledFile(u"share/applications/"_s + kAppId + u".desktop"_s);
        const Run check = RunTool(u"desktop-file-validate"_s, {path});
        QVERIFY2(check.exitCode == 0 && check.output.trimmed().isEmpty(), qPrintable(check.output));

        const QMap<QString, QString> entry = DesktopEntry(path);
        QCOMPARE(entry.value(u"Type"_s), u"Application"_s);
        QCOMPARE(entry.value(u"Name"_s), u"Dash Cam Settings"_s);
        QCOMPARE(entry.value(u"Name[de]"_s), u"Dashcam-Einstellungen"_s);
        QCOMPARE(entry.value(u"Name[zh_TW]"_s), u"行車記錄器設定"_s);
        QCOMPARE(entry.value(u"Exec"_s), u"dashcam-settings %f"_s);
        QCOMPARE(entry.value(u"Icon"_s), kAppId);
        QVERIFY(entry.value(u"MimeType"_s).split(u';').contains(u"inode/directory"_s));
    }

    void metadataIsValidAndNamesTheDesktopEntry()
    {
        const QString path = InstalledFile(u"share/metainfo/"_s + kAppId + u".metainfo.xml"_s);
        const Run check = RunTool(u"appstreamcli"_s, {u"validate"_s, u"--no-net"_s, u"--strict"_s, path});
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(file.readAll());
        QVERIFY(xml.contains(u"<id>"_s + kAppId + u"</id>"_s));
        QVERIFY(xml.contains(u"<launchable type=\"desktop-id\">"_s + kAppId + u".desktop</launchable>"_s));
        QVERIFY(xml.contains(u"<binary>dashcam-settings</binary>"_s));
    }

    void packageHoldsWhatIsInstalled()
    {
        const QString package = PackageFile();
        QVERIFY2(!package.isEmpty(), "no package was built");
        const Run listing = RunTool(u"dpkg-deb"_s, {u"--contents"_s, package});
        QCOMPARE(listing.exitCode, 0);

        QStringList files;
        for (const QString& line : listing.output.split(u'\n', Qt::SkipEmptyParts)) {
            if (!line.startsWith(u'-'))
                continue; // folders and links
            const QString path = line.section(u' ', -1);
            QVERIFY2(path.startsWith(u"./usr/"_s), qPrintable(line));
            files.append(path.mid(6));
        }
        files.sort();
        QCOMPARE(files, ExpectedFiles());
        QVERIFY(listing.output.contains(u"-rwxr-xr-x root/root"_s));
    }

    void packageDependsOnLibrariesAndFonts()
    {
        const QString package = PackageFile();
        QVERIFY2(!package.isEmpty(), "no package was built");
        const Run fields =
            RunTool(u"dpkg-deb"_s, {u"--field"_s, package, u"Package"_s, u"Depends"_s, u"Recommends"_s});
        QCOMPARE(fields.exitCode, 0);
        QString depends, recommends;
        for (const QString& line : fields.output.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u"Package: "_s))
                QCOMPARE(line.mid(9), u"dashcam-settings"_s);
            else if (line.startsWith(u"Depends: "_s))
                depends = line.mid(9);
            else if (line.startsWith(u"Recommends: "_s))
                recommends = line.mid(12);
        }
        // Computed from the program's shared libraries, plus what it needs without linking it.
        const QStringList required = PackageNames(depends);
        for (const QString& name :
             {u"libc6"_s, u"libqt6core6"_s, u"libqt6gui6"_s, u"libqt6widgets6"_s, u"libxcb1"_s,
              u"fonts-wine"_s, u"fonts-wqy-microhei"_s, u"fonts-noto-cjk"_s})
            QVERIFY2(required.contains(name), qPrintable(name + u" missing in: "_s + depends));
        QVERIFY2(depends.contains(QRegularExpression(u"libqt6core6 \\(>= 6\\.\\d"_s)), qPrintable(depends));
        // Only formatting needs the file system tools: the editor installs without them.
        const QStringList recommended = PackageNames(recommends);
        for (const QString& name : {u"dosfstools"_s, u"exfatprogs"_s, u"udisks2"_s}) {
            QVERIFY2(recommended.contains(name), qPrintable(name + u" missing in: "_s + recommends));
            QVERIFY(!required.contains(name));
        }
    }
};

QTEST_GUILESS_MAIN(PackageFilesTest)
#include "PackageFilesTest.moc"
