#include "i18n/QtTranslations.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

// The buttons of the standard message boxes speak the interface language.
class QtTranslationsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QtTranslations::Install(0); }
    void buttonsSpeakTheInterfaceLanguage_data();
    void buttonsSpeakTheInterfaceLanguage();
    void everyInterfaceLanguageHasACatalogue();
};

void QtTranslationsTest::buttonsSpeakTheInterfaceLanguage_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("English") << 0 << u"&Yes"_s << u"&No"_s;
    QTest::newRow("out of range means English") << 42 << u"&Yes"_s << u"&No"_s;
    QTest::newRow("French") << 1 << u"&Oui"_s << u"&Non"_s;
    QTest::newRow("German") << 7 << u"&Ja"_s << u"&Nein"_s;
    QTest::newRow("Russian") << 2 << u"&Да"_s << u"&Нет"_s;
}

void QtTranslationsTest::buttonsSpeakTheInterfaceLanguage()
{
    QFETCH(int, languageIndex);
    QFETCH(QString, yes);
    QFETCH(QString, no);

    QtTranslations::Install(1); // a language installed before is replaced, not stacked
    QVERIFY(QtTranslations::Install(languageIndex));
    QMessageBox question(QMessageBox::NoIcon, u"c"_s, u"t"_s, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.button(QMessageBox::Yes)->text(), yes);
    QCOMPARE(question.button(QMessageBox::No)->text(), no);
}

void QtTranslationsTest::everyInterfaceLanguageHasACatalogue()
{
    for (int index = 1; index <= 10; ++index) {
        QVERIFY2(QtTranslations::Install(index), qPrintable(QtTranslations::CatalogueName(index)));
        QMessageBox question(QMessageBox::NoIcon, u"c"_s, u"t"_s, QMessageBox::Yes);
        QVERIFY2(question.button(QMessageBox::Yes)->text() != "&Yes"_L1,
                 qPrintable(QtTranslations::CatalogueName(index)));
    }
}

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
