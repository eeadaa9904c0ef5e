#include "ExternalParsers.h"
#include "MetaloomFeature/Model/MetadataExportFormatter.h"
#include "tests/support/TestEnvironment.h"

#include <QtTest>

using namespace Metaloom;
namespace Export = MetadataExportFormatter;
using Export::Format;

namespace {

using Pairs = QList<std::pair<QString, QString>>;

QList<MetadataEntry> entriesOf(const Pairs &pairs)
{
    QList<MetadataEntry> entries;
    for (const auto &[key, value] : pairs)
        entries.append(MetadataEntry(key, value));
    return entries;
}

QString text(const Pairs &pairs, Format format)
{
    return Export::string(entriesOf(pairs), format);
}

QString allC0AndDelete()
{
    QString s;
    for (char16_t c = 0; c < 0x20; ++c)
        s += QChar(c);
    return s + QChar(0x7F);
}

const QString tomlHeader = QStringLiteral("# Metaloom metadata export\n");

} // namespace

class MetadataExportFormatterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void formatsAndTheirNames();
    void exactTexts_data();
    void exactTexts();
    void laterEntriesWinAndEditsAreExported();
    void brokenUtf16CannotBeExported();
    void realParsersReadBackWhatWasExported_data();
    void realParsersReadBackWhatWasExported();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void MetadataExportFormatterTest::formatsAndTheirNames()
{
    QCOMPARE(Export::allCases(), (QList<Format>{Format::Json, Format::Yaml, Format::Toml}));
    for (Format format : Export::allCases()) {
        QCOMPARE(Export::fromRawValue(Export::rawValue(format)), format);
        QCOMPARE(Export::fileExtension(format), Export::rawValue(format));
        QCOMPARE(Export::displayName(format), Export::rawValue(format).toUpper());
    }
    for (const char *other : {"JSON", "Yaml", "yml", "", " toml"})
        QCOMPARE(Export::fromRawValue(QString::fromLatin1(other)), std::nullopt);
}

void MetadataExportFormatterTest::exactTexts_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Pairs>("pairs");
    QTest::addColumn<QString>("expected");
    // One row per format given an expected text (a null text adds none).
    const auto add = [](const char *name, const Pairs &pairs, const QString &yamlText,
                        const QString &tomlText, const QString &jsonText) {
        for (const auto &[format, expected] :
             {std::pair(Format::Yaml, yamlText), std::pair(Format::Toml, tomlText),
              std::pair(Format::Json, jsonText)}) {
            if (!expected.isNull())
                QTest::addRow("%s, %s", name, qPrintable(Export::displayName(format)))
                    << format << pairs << expected;
        }
    };
    const QString pier = QStringLiteral("\"Sunset at \\\"Pier 7\\\"\"");
    add("worked example",
        {{"XMP-dc:Description", "Sunset at \"Pier 7\""}, {"GPS:GPSLongitude", "12.5"}},
        "---\n\"GPS:GPSLongitude\": \"12.5\"\n\"XMP-dc:Description\": " + pier + "\n",
        tomlHeader + "\"GPS:GPSLongitude\" = \"12.5\"\n\"XMP-dc:Description\" = " + pier + "\n",
        "{\n  \"GPS:GPSLongitude\" : \"12.5\",\n  \"XMP-dc:Description\" : " + pier + "\n}");
    add("no entries", {}, "---\n", tomlHeader, "{}");
    // TOML takes C1 controls and the line separator as they are.
    add("escapes", {{"K", QStringLiteral("a\r\nb\\c/d\te\u00e9\u0001\u007F\u0085\u2028")}},
        QStringLiteral("---\n\"K\": \"a\\r\\nb\\\\c/d\\te\u00e9\\u0001\\u007F\\u0085\\u2028\"\n"),
        tomlHeader +
            QStringLiteral("\"K\" = \"a\\r\\nb\\\\c/d\\te\u00e9\\u0001\\u007F\u0085\u2028\"\n"),
        QStringLiteral("{\n  \"K\" : \"a\\r\\nb\\\\c\\/d\\te\u00e9\\u0001\u007F\u0085\u2028\"\n}"));
    add("escaped key", {{"a\"b\n", "v"}}, {}, tomlHeader + "\"a\\\"b\\n\" = \"v\"\n", {});
    add("backspace and form feed", {{"x", "\b\f"}}, {}, {}, "{\n  \"x\" : \"\\b\\f\"\n}");
    // YAML and TOML: the user's order ignoring letter case; JSON: code point order.
    add("key order", {{"Xmp:c", "3"}, {"exif:b", "2"}, {"EXIF:A", "1"}}, {},
        tomlHeader + "\"EXIF:A\" = \"1\"\n\"exif:b\" = \"2\"\n\"Xmp:c\" = \"3\"\n",
        "{\n  \"EXIF:A\" : \"1\",\n  \"Xmp:c\" : \"3\",\n  \"exif:b\" : \"2\"\n}");
    add("characters beyond the BMP sort after U+FFFD",
        {{QStringLiteral("\U0001F600"), "1"}, {QStringLiteral("\uFFFD"), "2"}}, {}, {},
        QStringLiteral("{\n  \"\uFFFD\" : \"2\",\n  \"\U0001F600\" : \"1\"\n}"));
}

void MetadataExportFormatterTest::exactTexts()
{
    QFETCH(Format, format);
    QFETCH(Pairs, pairs);
    QFETCH(QString, expected);
    QCOMPARE(text(pairs, format), expected);
}

void MetadataExportFormatterTest::laterEntriesWinAndEditsAreExported()
{
    QList<MetadataEntry> entries =
        entriesOf({{"IFD0:Make", "Canon"}, {"IFD0:Model", "EOS"}, {"IFD0:Make", "Nikon"}});
    entries[1].value = QStringLiteral("EOS R5");
    entries[1].forceReadOnly = true;
    QCOMPARE(Export::string(entries, Format::Toml),
             tomlHeader + "\"IFD0:Make\" = \"Nikon\"\n\"IFD0:Model\" = \"EOS R5\"\n");
    QCOMPARE(Export::string(entries, Format::Json),
             QStringLiteral("{\n  \"IFD0:Make\" : \"Nikon\",\n  \"IFD0:Model\" : \"EOS R5\"\n}"));

    // Keys differing only in letter case are both kept, in either order.
    const QString yaml = text({{"a:k", "lower"}, {"A:k", "upper"}}, Format::Yaml);
    QVERIFY(yaml.contains(QStringLiteral("\n\"a:k\": \"lower\"\n")));
    QVERIFY(yaml.contains(QStringLiteral("\n\"A:k\": \"upper\"\n")));
    QCOMPARE(yaml.count(u'\n'), 3);
}

void MetadataExportFormatterTest::brokenUtf16CannotBeExported()
{
    const QString loneHigh = QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b");
    const QString loneLow = QString(QChar(0xDE00));
    for (Format format : Export::allCases()) {
        for (const Pairs &pairs : {Pairs{{"k", loneHigh}}, Pairs{{loneLow, "v"}}}) {
            try {
                text(pairs, format);
                QFAIL("broken UTF-16 must not export");
            } catch (const Export::ExportError &error) {
                QCOMPARE(error, Export::ExportError(Export::ExportError::Kind::EncodingFailed));
                QVERIFY(!error.localizedDescription().isEmpty());
            }
        }
    }
}

void MetadataExportFormatterTest::realParsersReadBackWhatWasExported_data()
{
    QTest::addColumn<Format>("format");
    for (Format format : Export::allCases())
        QTest::addRow("%s", qPrintable(Export::displayName(format))) << format;
}

// Every case of a format goes to one run of the parsers.
void MetadataExportFormatterTest::realParsersReadBackWhatWasExported()
{
    QFETCH(Format, format);
    const QList<std::pair<const char *, Pairs>> cases{
        {"quotes and backslashes",
         {{"XMP-dc:Title", "He said \"hi\" \\ 'bye' \\\\n \\u0041"}, {"a\"b\\c", "\\"}}},
        {"line breaks and tabs",
         {{"K:crlf", "one\r\ntwo\rthree\nfour"},
          {"K:tab\tkey", "\t lead and trail \t"},
          {"K:ends", "\n"}}},
        {"control characters",
         {{"C0:value", allC0AndDelete()}, {QStringLiteral("C0:key") + allC0AndDelete(), "x"}}},
        {"C1 controls and separators",
         {{"U:c1", QStringLiteral("\u0080\u0085\u009F")},
          {"U:lines", QStringLiteral("a \u2028 b\u2029c")},
          {"U:nonchar", QStringLiteral("\uFEFF\uFFFE\uFFFF")}}},
        {"slashes and non-ASCII text",
         {{"File:MIMEType", "image/jpeg"},
          {"XMP-dc:Creator", QStringLiteral("Zoë Ŝ / 東京 / שלום")},
          {QStringLiteral("XMP-dc:Émoji"), QStringLiteral("\U0001F4F7\U0001F600")}}},
        {"punctuation that means something unquoted",
         {{"a: b", "- item"},
          {"#comment", "# not a comment"},
          {"k = v", "[table]"},
          {"{x}", "&anchor *alias !tag |> %@`"},
          {"", ""},
          {"bool", "true"},
          {"null", "~"},
          {"number", "0x1F"},
          {"date", "2024-01-01T00:00:00Z"}}},
    };
    QList<Testing::ParserCase> parserCases;
    for (const auto &[name, pairs] : cases) {
        QJsonObject expected;
        for (const auto &[key, value] : pairs)
            expected.insert(key, value);
        parserCases.append({QString::fromLatin1(name), text(pairs, format), expected});
    }
    const QString mismatch =
        Testing::parserMismatch(Export::rawValue(format), parserCases, m_env->workPath());
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(MetadataExportFormatterTest)
#include "tst_MetadataExportFormatter.moc"
