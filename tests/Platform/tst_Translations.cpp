#include "MetaloomFeature/Platform/Translations.h"

#include <QCoreApplication>
#include <QtTest>

using namespace Metaloom;

namespace {

const char *const ownContext = "ServiceError";
const char *const ownText = "The bundled ExifTool libraries are missing.";

QString ownTextShown()
{
    return QCoreApplication::translate(ownContext, ownText);
}

} // namespace

// Which language the program speaks, and that installing it changes what the
// program's and Qt's texts say for as long as it lives.
class TranslationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chosenLanguage_data();
    void chosenLanguage();
    void germanWhileInstalled();
    void englishNeedsNoTranslation();
};

void TranslationsTest::chosenLanguage_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("German") << QStringList{"de-DE", "de"} << "de";
    QTest::newRow("Austrian German") << QStringList{"de-AT"} << "de";
    QTest::newRow("a language without a translation first") << QStringList{"fr-FR", "de"} << "de";
    QTest::newRow("English before German") << QStringList{"en-US", "de-DE"} << "";
    QTest::newRow("plain English") << QStringList{"en"} << "";
    QTest::newRow("the C locale") << QStringList{"C"} << "";
    QTest::newRow("nothing named") << QStringList{} << "";
}

void TranslationsTest::chosenLanguage()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, chosen);
    QCOMPARE(Translations::chooseLanguage(uiLanguages), chosen);
}

void TranslationsTest::germanWhileInstalled()
{
    QCOMPARE(ownTextShown(), QString::fromUtf8(ownText));
    {
        const Translations german(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(german.language(), QStringLiteral("de"));
        QCOMPARE(ownTextShown(), QStringLiteral("Die mitgelieferten ExifTool-Bibliotheken fehlen."));
        // Qt's own texts (here a standard button) speak the same language.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Abbrechen"));
    }
    QCOMPARE(ownTextShown(), QString::fromUtf8(ownText));
}

void TranslationsTest::englishNeedsNoTranslation()
{
    const Translations english(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(english.language().isEmpty());
    QCOMPARE(ownTextShown(), QString::fromUtf8(ownText));
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_Translations.moc"
