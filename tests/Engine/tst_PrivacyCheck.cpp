#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/PrivacyClasses.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "RealFiles.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class PrivacyCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyRuleNamesListedTags();
    void keysFallIntoTheirClass_data();
    void keysFallIntoTheirClass();
    void samplesGiveThemselvesAway_data();
    void samplesGiveThemselvesAway();
};

void PrivacyCheckTest::everyRuleNamesListedTags()
{
    // A rule naming a tag ExifTool does not know would never find anything:
    // each must match a key of ExifTool's own listing, in its group.
    const TestEnvironment environment;
    ExifToolService service(realBundle());
    const auto loaded = runTask(service.allTagKeys());
    QVERIFY2(loaded.succeeded(), qPrintable(loaded.errorMessage()));
    // The whole table, with the keys no picker offers ("Track#:TrackCreateDate").
    const std::optional<TagTable> table = service.tagDefinitionsNow();
    QVERIFY(table);
    const QStringList keys = table->keys();
    for (const PrivacyClasses::Rule &rule : PrivacyClasses::rules()) {
        const QString pattern = rule.group.isEmpty() ? rule.tag : rule.group + u':' + rule.tag;
        const bool listed = std::any_of(keys.cbegin(), keys.cend(), [&](const QString &key) {
            return PrivacyClasses::matches(pattern, key);
        });
        QVERIFY2(listed, qPrintable(pattern + QStringLiteral(" is not in the tag listing")));
    }
}

void PrivacyCheckTest::keysFallIntoTheirClass_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("privacyClass");
    const auto row = [](const char *key, const char *privacyClass) {
        QTest::newRow(key) << QString::fromLatin1(key) << QString::fromLatin1(privacyClass);
    };
    row("GPS:GPSLatitude", "location");
    row("Keys:GPSCoordinates", "location");
    row("XMP-iptcExt:LocationShownCity", "location");
    row("IPTC:Sub-location", "location");
    row("XMP-xmp:CreatorTool", "history");
    row("XMP-xmpMM:HistoryWhen", "history");
    row("XMP-crs:Exposure2012", "history");
    row("XMP-dc:Creator", "people");
    row("XMP-iptcCore:CreatorWorkEmail", "people");
    row("XMP-iptcExt:PersonInImage", "people");
    row("ExifIFD:OwnerName", "people");
    row("Canon:InternalSerialNumber", "device");
    row("XMP-aux:SerialNumber", "device");
    row("IFD0:Make", "device");
    row("XMP-xmpMM:DocumentID", "device");
    row("IFD1:ThumbnailImage", "pictures");
    row("SubIFD2:JpgFromRaw", "pictures");
    row("ExifIFD:DateTimeOriginal", "time");
    row("ExifIFD:OffsetTimeOriginal", "time");
    // Computed tags and the camera's settings give nothing away.
    row("Composite:GPSPosition", "");
    row("System:FileModifyDate", "");
    row("ExifIFD:ExposureTime", "");
    row("IFD0:Orientation", "");
    row("Canon:SerialNumberFormat", "");
}

void PrivacyCheckTest::keysFallIntoTheirClass()
{
    QFETCH(QString, key);
    QFETCH(QString, privacyClass);
    const std::optional<PrivacyClass> found = PrivacyClasses::classOf(key);
    QCOMPARE(found ? PrivacyClasses::name(*found) : QString(), privacyClass);
    if (found)
        QCOMPARE(PrivacyClasses::fromName(privacyClass), found);
}

void PrivacyCheckTest::samplesGiveThemselvesAway_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("privacyClass");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QStringList>("notFound");
    const auto row = [](const char *name, const char *file, const char *privacyClass,
                        QStringList found, QStringList notFound = {}) {
        QTest::newRow(name) << QString::fromLatin1(file) << QString::fromLatin1(privacyClass)
                            << found << notFound;
    };
    // An empty IPTC City gives nothing away; the computed GPS position is
    // not a tag of the file.
    row("GPS location", "GPS.jpg", "location", {"GPS:GPSLatitude", "GPS:GPSLongitude"},
        {"IPTC:City", "Composite:GPSPosition"});
    row("GPS people", "GPS.jpg", "people", {"IFD0:Artist", "IPTC:By-line", "IFD0:Copyright"});
    row("GPS history", "GPS.jpg", "history", {"IFD0:Software"});
    row("GPS pictures", "GPS.jpg", "pictures", {"IFD1:ThumbnailImage"});
    row("Canon serial", "Canon.jpg", "device", {"Canon:SerialNumber", "IFD0:Make"});
    row("Canon owner", "Canon.jpg", "people", {"Canon:OwnerName"}, {"ExifIFD:UserComment"});
    row("DNG pictures", "DNG.dng", "pictures",
        {"IFD0:ThumbnailTIFF", "SubIFD1:PreviewImage", "SubIFD2:JpgFromRaw"});
    row("DNG serials", "DNG.dng", "device", {"IFD0:CameraSerialNumber", "XMP-aux:SerialNumber"});
    row("CR2 serial", "CanonRaw.cr2", "device", {"Canon:SerialNumber"});
    row("MOV time", "QuickTime.mov", "time", {"QuickTime:CreateDate", "Track1:TrackCreateDate"});
    row("MOV people", "QuickTime.mov", "people", {"XMP-dc:Creator"});
    row("PNG people", "PNG.png", "people", {"XMP-dc:Creator"});
    row("HEIC has nothing", "QuickTime.heic", "device", {}, {"QuickTime:HandlerType"});
}

void PrivacyCheckTest::samplesGiveThemselvesAway()
{
    QFETCH(QString, file);
    QFETCH(QString, privacyClass);
    QFETCH(QStringList, found);
    QFETCH(QStringList, notFound);
    const TestEnvironment environment;
    const QList<MetadataEntry> entries = readEntries(copyTestData(file, environment.workPath()));
    QVERIFY(!entries.isEmpty());
    const PrivacyFindings findings = PrivacyFindings::of(entries);
    const QStringList keys = findings.of(*PrivacyClasses::fromName(privacyClass));
    for (const QString &key : found)
        QVERIFY2(keys.contains(key),
                 qPrintable(key + QStringLiteral(" not in ") + keys.join(u' ')));
    for (const QString &key : notFound)
        QVERIFY2(!findings.allKeys().contains(key), qPrintable(key));
    if (found.isEmpty())
        QVERIFY2(findings.isEmpty(), qPrintable(findings.allKeys().join(u' ')));
}

QTEST_GUILESS_MAIN(PrivacyCheckTest)
#include "tst_PrivacyCheck.moc"
