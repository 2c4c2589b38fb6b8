#include "i18n/LanguageDocument.h"
#include "i18n/LanguagePack.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace Qt::StringLiterals;

// The eleven documents the program carries: each is UTF-16 with its mark and translates every
// key of the English one.
class EmbeddedDocumentsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_englishKeys = KeysOf(u"ENGLISH"_s);
        // The window's own texts, and the save failure message, must be there.
        for (const auto key : {u"IDS_STRING101", u"IDS_STRING105", u"IDS_STRING106", u"IDS_STRING107",
                               u"IDS_STRING108", u"IDS_STRING213", u"IDS_STRING228", u"IDS_STRING3300"})
            QVERIFY2(m_englishKeys.contains(QStringView(key)), qPrintable(QStringView(key).toString()));
    }

    void everyDocumentHasEveryEnglishKey_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i <= 10; ++i)
            QTest::newRow(qPrintable(LanguagePack::ResourceName(i))) << i;
    }

    void everyDocumentHasEveryEnglishKey()
    {
        QFETCH(int, index);
        const QString name = LanguagePack::ResourceName(index).toUpper();
        QFile file(u":/LANGUAGE/"_s + name);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xFF\xFE"));
        const auto document = LanguageDocument::Parse(bytes);
        QVERIFY(document && document->HasDefaultSection());

        const auto english = LanguageDocument::Parse(ReadResource(u"ENGLISH"_s));
        const QStringList keys = KeysOf(name);
        for (const QString& key : m_englishKeys) {
            const QString text = document->Value(key);
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(name + u": "_s + key));
            // Messages keep their line structure.
            QVERIFY2(text.count(u"\\n"_s) == english->Value(key).count(u"\\n"_s),
                     qPrintable(name + u": "_s + key));
        }
        QVERIFY2(keys.size() == m_englishKeys.size(), qPrintable(name));

        LanguagePack pack;
        QVERIFY(pack.Load(LanguagePack::ResourceName(index)));
        QVERIFY(!pack.Text(u"IDS_STRING101").isEmpty());
    }

private:
    static QByteArray ReadResource(const QString& name)
    {
        QFile file(u":/LANGUAGE/"_s + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The keys of the [text] section, read straight from the document's lines.
    static QStringList KeysOf(const QString& name)
    {
        const QByteArray bytes = ReadResource(name);
        const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                                (bytes.size() - 2) / 2);
        QStringList keys;
        bool inText = false;
        static const QRegularExpression keyLine(u"^\\s*(IDS_STRING\\d+)\\s*="_s);
        for (const QString& line : text.split(u'\n')) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(u'['))
                inText = trimmed.compare(u"[text]", Qt::CaseInsensitive) == 0;
            const auto match = keyLine.match(line);
            if (inText && match.hasMatch())
                keys.append(match.captured(1));
        }
        return keys;
    }
    QStringList m_englishKeys;
};

QTEST_GUILESS_MAIN(EmbeddedDocumentsTest)
#include "EmbeddedDocumentsTest.moc"
