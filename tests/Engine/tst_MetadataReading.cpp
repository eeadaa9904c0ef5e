#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class MetadataReadingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void valueTexts_data();
    void valueTexts();
    void entriesFromOutput();
    void numberLiteralsKeepTheirText_data();
    void numberLiteralsKeepTheirText();
    void outputShapesThatAreRefused();
    void readsCameraFiles_data();
    void readsCameraFiles();
    void unreadableAndMissingFiles();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void MetadataReadingTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void MetadataReadingTest::cleanup()
{
    m_env.reset();
}

static QString textOf(const char *json)
{
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray("[") + json + "]");
    return MetadataJson::valueText(document.array().first());
}

void MetadataReadingTest::valueTexts_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *json, const char *text) {
        QTest::newRow(json) << QString::fromUtf8(json) << QString::fromUtf8(text);
    };
    row("\" 1/125 \"", " 1/125 "); // strings unchanged
    row("100", "100");
    row("0", "0");
    row("-7", "-7");
    row("2.8", "2.8");
    row("4294967296", "4294967296");
    row("true", "1");
    row("false", "0");
    row("[\"a\", 1, true]", "a, 1, 1");
    row("[[\"p\",\"q\"],\"r\"]", "p, q, r");  // nested arrays flatten
    row("{\"b\":2,\"a\":\"x\"}", "a=x, b=2"); // objects sorted by member
    row("[]", "");
}

void MetadataReadingTest::valueTexts()
{
    QFETCH(QString, json);
    QFETCH(QString, text);
    QCOMPARE(textOf(json.toUtf8().constData()), text);
}

void MetadataReadingTest::entriesFromOutput()
{
    const QByteArray output = R"([{
        "SourceFile": "/x/a.jpg",
        "ExifIFD:ExposureTime": "1/125",
        "Keywords": "no group",
        "QuickTime:Duration": "3 s",
        "ExifTool:ExifToolVersion": 12.57,
        "Meta:PrimaryItemReference": 1,
        "Composite:ImageSize": "1x1",
        "File:FileSize": "2 kB",
        "System:FileName": "a.jpg",
        "XMP-dc:Subject": ["one", "two"],
        "ExifIFD:ISO": 0
    }, {"SourceFile": "/x/ignored.jpg", "IFD0:Make": "Ignored"}])";
    const QList<MetadataEntry> entries = MetadataJson::entriesFromOutput(output);
    QStringList keys;
    for (const MetadataEntry &entry : entries)
        keys << entry.rawKey;
    QCOMPARE(keys, (QStringList{"Composite:ImageSize", "ExifIFD:ExposureTime", "ExifIFD:ISO",
                                "File:FileSize", "General:Keywords", "QuickTime:Duration",
                                "System:FileName", "XMP-dc:Subject"}
                        .replaceInStrings(QStringLiteral("General:"), QString())));
    const MetadataEntry &exposure = entries.at(1);
    QCOMPARE(exposure.group, QStringLiteral("ExifIFD"));
    QCOMPARE(exposure.tag, QStringLiteral("ExposureTime"));
    QCOMPARE(exposure.value, QStringLiteral("1/125"));
    QCOMPARE(exposure.originalValue, QStringLiteral("1/125"));
    QCOMPARE(entries.at(2).value, QStringLiteral("0"));
    QCOMPARE(entries.at(4).group, QStringLiteral("General"));
    QCOMPARE(entries.last().value, QStringLiteral("one, two"));
    QVERIFY(entries.last().isList); // an array is a list, read item by item
    QCOMPARE(entries.last().items, (QStringList{"one", "two"}));
    QVERIFY(!entries.at(1).isList);
    QVERIFY(!entries.at(0).isWritable()); // Composite
    QVERIFY(entries.at(1).isWritable());

    const QList<MetadataEntry> onlyHidden = MetadataJson::entriesFromOutput(
        R"([{"SourceFile":"a","Meta:PrimaryItemReference":1,"ExifTool:Warning":"w"}])");
    QVERIFY(onlyHidden.isEmpty());
}

void MetadataReadingTest::numberLiteralsKeepTheirText_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("items");
    const auto row = [](const char *json, QStringList items) {
        QTest::newRow(json) << QByteArray(json) << items;
    };
    row("0.000064", {"0.000064"}); // Qt's reader would give 6.4e-05
    row("0.010", {"0.010"});
    row("14.0", {"14.0"});
    row("-0.5", {"-0.5"});
    row("1e-05", {"1e-05"});
    row("4294967296123", {"4294967296123"});
    row("true", {"true"}); // as ExifTool wrote "True" in its JSON
    row("\"f 1.50, true\"", {"f 1.50, true"});
    row("\"q\\\" 2.0\"", {"q\" 2.0"}); // an escaped quote does not end the string
    row("[1.50, \"b\", [2.0]]", {"1.50", "b", "2.0"});
}

void MetadataReadingTest::numberLiteralsKeepTheirText()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, items);
    const QByteArray output = "[{\"SourceFile\": \"a.jpg\",\n \"IFD0:X\":" + json + "}]";
    const QList<MetadataEntry> entries = MetadataJson::entriesFromOutput(output);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().isList ? entries.first().items : QStringList{entries.first().value},
             items);
}

void MetadataReadingTest::outputShapesThatAreRefused()
{
    for (const QByteArray &shape : {QByteArray("[]"), QByteArray("{}"), QByteArray("[1]"),
                                    QByteArray("[{\"a\":1}, \"x\"]"), QByteArray("{\"a\":[]}")}) {
        try {
            MetadataJson::entriesFromOutput(shape);
            QFAIL(shape.constData());
        } catch (const ServiceError &error) {
            QCOMPARE(error.localizedDescription(),
                     QStringLiteral("Failed to parse metadata returned by ExifTool."));
        }
    }
    for (const QByteArray &broken :
         {QByteArray(), QByteArray("[{\"a\":"), QByteArray("not json"),
          QByteArray("[{\"a\":1}] trailing"), QByteArray("[{\"a\":1.2.3}]"),
          QByteArray("[{\"a\":-}]"), QByteArray("[{\"a\":01}]"), QByteArray("[{\"a\":tru}]")}) {
        try {
            MetadataJson::entriesFromOutput(broken);
            QFAIL(broken.constData());
        } catch (const ServiceError &) {
            QFAIL("malformed JSON is the JSON reader's error");
        } catch (const PlatformError &error) {
            QVERIFY(error.localizedDescription().contains(QStringLiteral("JSON")));
        }
    }

    // Through the service, with an ExifTool whose output is cut off.
    FakeExifToolBundle fake(m_env->workPath(),
                            QStringLiteral("printf '[{\"SourceFile\": \"x\", '"));
    ExifToolService service(fake.bundle());
    const auto outcome = runTask(service.readMetadata(QUrl::fromLocalFile(QStringLiteral("/x"))));
    QVERIFY(outcome.error);
    QVERIFY(outcome.errorMessage().contains(QStringLiteral("JSON")));
}

void MetadataReadingTest::readsCameraFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const auto row = [](const char *name, const char *file, const char *key, const char *value) {
        QTest::newRow(name) << QString::fromUtf8(file) << QString::fromUtf8(key)
                            << QString::fromUtf8(value);
    };
    row("Canon maker note", "Canon.jpg", "Canon:MeteringMode", "Center-weighted average");
    row("IPTC list", "IPTC.jpg", "IPTC:Keywords", "ExifTool, Test, IPTC");
    row("QuickTime", "QuickTime.mov", "File:FileType", "MOV");
    // Numbers exactly as ExifTool printed them.
    row("small fraction", "GeoTiff.tif", "Composite:Megapixels", "0.000600");
    row("trailing zero", "Canon.jpg", "ExifIFD:FNumber", "14.0");
}

void MetadataReadingTest::readsCameraFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QString copy = copyTestData(file, m_env->workPath());
    const QList<MetadataEntry> entries = readEntries(copy);
    const auto found = std::find_if(entries.cbegin(), entries.cend(),
                                    [&key](const MetadataEntry &e) { return e.rawKey == key; });
    QVERIFY2(found != entries.cend(), qPrintable(key));
    QCOMPARE(found->value, value);
    QCOMPARE(found->isList, key == QLatin1String("IPTC:Keywords"));
    const QSet<QString> hidden{QStringLiteral("Meta"), QStringLiteral("ExifTool")};
    for (const MetadataEntry &entry : entries)
        QVERIFY2(!hidden.contains(entry.group), qPrintable(entry.rawKey));
}

void MetadataReadingTest::unreadableAndMissingFiles()
{
    ExifToolService service(realBundle());
    const auto missing = runTask(
        service.readMetadata(QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/gone.jpg"))));
    QVERIFY(missing.error);
    QVERIFY2(missing.errorMessage().startsWith(QStringLiteral("ExifTool reported an error: ")),
             qPrintable(missing.errorMessage()));
    QVERIFY(missing.errorMessage().contains(QStringLiteral("not found"), Qt::CaseInsensitive));

    // ExifTool says nothing on standard error here; the reason is in its JSON.
    const QString unknownType = copyTestData(QStringLiteral("AAC.aac"), m_env->workPath());
    QCOMPARE(runTask(service.readMetadata(QUrl::fromLocalFile(unknownType))).errorMessage(),
             QStringLiteral("ExifTool reported an error: Unknown file type"));
}

QTEST_GUILESS_MAIN(MetadataReadingTest)
#include "tst_MetadataReading.moc"
