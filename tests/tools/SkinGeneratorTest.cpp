#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct RunResult
{
    bool finished = false;
    int exitCode = -1;
    QByteArray errorOutput;
};

RunResult RunGenerator(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(SKIN_GENERATOR_PATH), arguments);
    RunResult result;
    result.finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.errorOutput = process.readAllStandardError();
    return result;
}

QString SourcePath(const QString& relative)
{
    return QDir(QStringLiteral(DASHCAM_SOURCE_DIR)).filePath(relative);
}

// The committed output: skin images under resources/skin, the icon under resources/icons.
QMap<QString, QString> CommittedFiles()
{
    QMap<QString, QString> files;
    for (int id = 143; id <= 179; ++id)
        files.insert(QString::number(id) + u".png"_s,
                     SourcePath(u"resources/skin/"_s + QString::number(id) + u".png"_s));
    files.insert(u"501.png"_s, SourcePath(u"resources/skin/501.png"_s));
    files.insert(u"dashcam-settings.png"_s, SourcePath(u"resources/icons/dashcam-settings.png"_s));
    files.insert(u"dashcam-settings-64.png"_s, SourcePath(u"resources/icons/dashcam-settings-64.png"_s));
    return files;
}

} // namespace

class SkinGeneratorTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reproducesCommittedFile_data();
    void reproducesCommittedFile();
    void writesOnlyTheCatalogue();
    void rejectsBadCommandLine_data();
    void rejectsBadCommandLine();
    void reportsUnwritableFolder();

private:
    QTemporaryDir m_output;
};

void SkinGeneratorTest::initTestCase()
{
    QVERIFY(m_output.isValid());
    const RunResult result = RunGenerator({m_output.path()});
    QVERIFY2(result.finished, "the generator did not finish");
    QVERIFY2(result.exitCode == 0, result.errorOutput.constData());
}

void SkinGeneratorTest::reproducesCommittedFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("committedPath");
    const QMap<QString, QString> files = CommittedFiles();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
}

void SkinGeneratorTest::reproducesCommittedFile()
{
    QFETCH(QString, fileName);
    QFETCH(QString, committedPath);

    QFile committed(committedPath);
    QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(committedPath));
    QFile generated(QDir(m_output.path()).filePath(fileName));
    QVERIFY2(generated.open(QIODevice::ReadOnly), qPrintable(fileName + u" was not written"_s));

    const QByteArray expected = committed.readAll();
    const QByteArray actual = generated.readAll();
    QVERIFY(!expected.isEmpty());
    QCOMPARE(actual.size(), expected.size());
    QVERIFY2(actual == expected, "same size, different bytes");
}

void SkinGeneratorTest::writesOnlyTheCatalogue()
{
    const QStringList written =
        QDir(m_output.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QStringList expected = CommittedFiles().keys();
    expected.sort();
    QCOMPARE(written, expected);
}

void SkinGeneratorTest::rejectsBadCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no folder") << QStringList{};
    QTest::newRow("empty folder") << QStringList{QString()};
    QTest::newRow("two folders") << QStringList{u"a"_s, u"b"_s};
}

void SkinGeneratorTest::rejectsBadCommandLine()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir workDir;
    QVERIFY(workDir.isValid());

    QProcess process;
    process.setWorkingDirectory(workDir.path());
    process.start(QStringLiteral(SKIN_GENERATOR_PATH), arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().startsWith("usage:"));
    // Nothing may land in the working folder (a relative "a" would otherwise be created).
    QVERIFY(QDir(workDir.path()).isEmpty());
}

void SkinGeneratorTest::reportsUnwritableFolder()
{
    // A regular file where the folder should be: creating the folder must fail.
    QTemporaryDir workDir;
    QVERIFY(workDir.isValid());
    const QString blocker = QDir(workDir.path()).filePath(u"blocker"_s);
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    const RunResult result = RunGenerator({blocker + u"/skin"_s});
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.errorOutput.contains("skin-generator:"), result.errorOutput.constData());
}

QTEST_GUILESS_MAIN(SkinGeneratorTest)
#include "SkinGeneratorTest.moc"
