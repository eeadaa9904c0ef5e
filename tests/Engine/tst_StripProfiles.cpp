#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Library/PrivacyReportTexts.h"
#include "RealFiles.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QImageReader>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

// A profile of the user's own, as the preferences keep it.
const char *const userProfiles = R"([
  {"name": "web", "remove": ["location", "XMP-dc:Creator"], "keep": ["GPS:GPSAltitude"]},
  {"name": "dated", "remove": ["all"], "keep": ["time", "Orientation"]}
])";

} // namespace

class StripProfilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userProfilesReadAsStored();
    void profilesRemoveWhatTheyName_data();
    void profilesRemoveWhatTheyName();
    void keptOrientationStillTurnsThePicture();
};

void StripProfilesTest::userProfilesReadAsStored()
{
    const QList<StripProfile> profiles = StripProfiles::decode(userProfiles);
    QCOMPARE(profiles.size(), 2);
    QCOMPARE(profiles.at(0).removedClasses, QList<PrivacyClass>{PrivacyClass::location});
    QCOMPARE(profiles.at(0).removedKeys, QStringList{"XMP-dc:Creator"});
    QVERIFY(!profiles.at(0).removesEverything);
    QVERIFY(profiles.at(1).removesEverything);
    QCOMPARE(profiles.at(1).checkedClasses().contains(PrivacyClass::time), false);
    QCOMPARE(StripProfiles::decode(StripProfiles::encode(profiles)), profiles);
    // A built-in name wins over the user's.
    QCOMPARE(StripProfile::named("location", profiles), StripProfile::location());
    QCOMPARE(StripProfile::named("web", profiles), profiles.at(0));
    QVERIFY(!StripProfile::named("nope", profiles));
}

void StripProfilesTest::profilesRemoveWhatTheyName_data()
{
    QTest::addColumn<QString>("file");
    // ExifTool's arguments that tag the copy first, for samples without
    // what the profile is about.
    QTest::addColumn<QStringList>("tagging");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QStringList>("gone");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("proof");
    const QStringList heicTags{"-XMP-dc:Creator=Ann", "-XMP-exif:GPSLatitude=12.5",
                               "-XMP-exif:GPSLatitudeRef=N", "-XMP-tiff:Make=Phone"};

    QTest::newRow("JPEG everything")
        << "GPS.jpg" << QStringList() << "everything"
        << QStringList{"GPS:GPSLatitude",     "IFD0:Artist",   "IFD0:Make",
                       "IFD1:ThumbnailImage", "IFD0:Software", "ExifIFD:DateTimeOriginal",
                       "IPTC:By-line"}
        << QStringList()
        << "GPS.jpg: no location, no people, no device serial, no dates, no hidden pictures, "
           "no edit history left.";
    QTest::newRow("JPEG keep orientation and colour")
        << "GPS.jpg" << QStringList() << "keep-orientation-colour"
        << QStringList{"GPS:GPSLatitude", "IFD0:Artist", "IFD0:Make", "IFD1:ThumbnailImage"}
        << QStringList{"IFD0:Orientation", "ExifIFD:ColorSpace"}
        << "GPS.jpg: no location, no people, no device serial, no dates, no hidden pictures, "
           "no edit history left. Kept: orientation, colour profile.";
    QTest::newRow("JPEG location")
        << "GPS.jpg" << QStringList() << "location"
        << QStringList{"GPS:GPSLatitude", "GPS:GPSLongitude", "IPTC:Country-PrimaryLocationName"}
        << QStringList{"IFD0:Artist", "ExifIFD:DateTimeOriginal", "IFD0:Make",
                       "IFD1:ThumbnailImage"}
        << "GPS.jpg: no location left.";
    QTest::newRow("JPEG personal")
        << "Canon.jpg" << QStringList() << "personal"
        << QStringList{"Canon:OwnerName", "Canon:SerialNumber", "IFD0:Make", "IFD0:Model"}
        << QStringList{"ExifIFD:DateTimeOriginal", "ExifIFD:FNumber", "ExifIFD:ExposureTime",
                       "IFD0:Orientation"}
        << "Canon.jpg: no people, no device serial left.";
    QTest::newRow("JPEG user profile")
        << "GPS.jpg" << QStringList{"-GPS:GPSAltitude=120", "-GPS:GPSAltitudeRef=0"} << "web"
        << QStringList{"GPS:GPSLatitude", "IPTC:Country-PrimaryLocationName"}
        << QStringList{"GPS:GPSAltitude", "IFD0:Artist", "IPTC:By-line"}
        << "GPS.jpg: no location left. Kept: GPSAltitude.";
    QTest::newRow("JPEG all but dates")
        << "GPS.jpg" << QStringList() << "dated"
        << QStringList{"GPS:GPSLatitude", "IFD0:Artist", "IFD0:Software"}
        << QStringList{"ExifIFD:DateTimeOriginal", "IFD0:Orientation"} << QString();
    QTest::newRow("HEIC everything")
        << "QuickTime.heic" << heicTags << "everything"
        << QStringList{"XMP-dc:Creator", "XMP-exif:GPSLatitude", "XMP-tiff:Make"} << QStringList()
        << "QuickTime.heic: no location, no people, no device serial left.";
    QTest::newRow("HEIC location")
        << "QuickTime.heic" << heicTags << "location" << QStringList{"XMP-exif:GPSLatitude"}
        << QStringList{"XMP-dc:Creator", "XMP-tiff:Make"} << "QuickTime.heic: no location left.";
    QTest::newRow("MOV personal")
        << "QuickTime.mov" << QStringList() << "personal"
        << QStringList{"XMP-dc:Creator", "ItemList:Artist", "ItemList:CoverArt"}
        << QStringList{"QuickTime:CreateDate", "Pentax:FNumber", "Track1:ImageWidth"}
        << "QuickTime.mov: no people, no hidden pictures left. 1 device detail could not be "
           "removed from this file type: Make.";
    // A movie's header keeps its dates through the strip; asked again by
    // name, ExifTool zeroes them.
    QTest::newRow("MOV everything")
        << "QuickTime.mov" << QStringList() << "everything"
        << QStringList{"XMP-dc:Creator", "ItemList:Artist", "QuickTime:CreateDate",
                       "Track1:TrackCreateDate"}
        << QStringList{"Track1:ImageWidth"}
        << "QuickTime.mov: no people, no device serial, no dates, no hidden pictures left. "
           "Blanked, since this file type keeps them: CreateDate, ModifyDate, MediaCreateDate, "
           "MediaModifyDate, TrackCreateDate, TrackModifyDate. 2 other tags could not be "
           "removed from this file type: HandlerVendorID, VendorID.";
    // A raw file keeps its maker notes: the serial number is zeroed, the
    // owner's name emptied; make, model and preview stay for developing it.
    QTest::newRow("CR2 everything")
        << "CanonRaw.cr2" << QStringList() << "everything"
        << QStringList{"Canon:SerialNumber", "Canon:OwnerName", "ExifIFD:DateTimeOriginal"}
        << QStringList{"IFD0:Make", "IFD0:Model", "IFD0:PreviewImage"}
        << "CanonRaw.cr2: no people, no dates left. 2 device details could not be removed "
           "from this file type: Make, Model. 2 hidden pictures could not be removed from this "
           "file type: PreviewImage, ThumbnailImage. Blanked, since this file type keeps them: "
           "OwnerName, SerialNumber. 130 other tags could not be removed from this file type: "
           "AFAreaHeight, AFAreaWidth, AFAreaXPositions, AFAreaYPositions, AFImageHeight, "
           "AFImageWidth, AFPointsInFocus, AutoExposureBracketing and 122 more.";
    QTest::newRow("CR2 location") << "CanonRaw.cr2"
                                  << QStringList{"-GPS:GPSLatitude=1", "-GPS:GPSLatitudeRef=S"}
                                  << "location" << QStringList{"GPS:GPSLatitude"}
                                  << QStringList{"Canon:SerialNumber", "Canon:OwnerName",
                                                 "IFD0:PreviewImage"}
                                  << "CanonRaw.cr2: no location left.";
    QTest::newRow("PNG everything")
        << "PNG.png" << QStringList() << "everything" << QStringList{"XMP-dc:Creator"}
        << QStringList{"PNG:ImageWidth"} << "PNG.png: no people left.";
    QTest::newRow("PNG keep orientation and colour")
        << "PNG.png" << QStringList{"-PNG:Gamma=2.2"} << "keep-orientation-colour"
        << QStringList{"XMP-dc:Creator"} << QStringList{"PNG:Gamma"}
        << "PNG.png: no people left. Kept: colour profile.";
}

void StripProfilesTest::profilesRemoveWhatTheyName()
{
    QFETCH(QString, file);
    QFETCH(QStringList, tagging);
    QFETCH(QString, profile);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, kept);
    QFETCH(QString, proof);
    const TestEnvironment environment;
    const QString path = copyTestData(file, environment.workPath());
    if (!tagging.isEmpty()) {
        int status = -1;
        runRealExifTool(tagging + QStringList{"-overwrite_original", path}, &status);
        QCOMPARE(status, 0);
    }
    const QHash<QString, QString> before = valuesOf(path);
    const PrivacyFindings found = PrivacyFindings::of(readEntries(path));
    for (const QString &key : gone + kept)
        QVERIFY2(!before.value(key).isEmpty(), qPrintable(key + " is not in the sample"));

    const std::optional<StripProfile> chosen =
        StripProfile::named(profile, StripProfiles::decode(userProfiles));
    QVERIFY(chosen);
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.stripForSharing(QUrl::fromLocalFile(path), *chosen));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    const PrivacyStripReport &report = *outcome.value;
    QCOMPARE(report.before, found);

    // A separate read of what the file became.
    const QHash<QString, QString> after = valuesOf(path);
    for (const QString &key : gone)
        QVERIFY2(PrivacyFindings::isBlank(after.value(key)),
                 qPrintable(key + " is still " + after.value(key)));
    for (const QString &key : kept)
        QVERIFY2(after.value(key) == before.value(key),
                 qPrintable(key + " became " + after.value(key)));
    QCOMPARE(report.after, PrivacyFindings::of(readEntries(path)));
    if (!proof.isEmpty())
        QCOMPARE(PrivacyReportTexts::proof(file, report), proof);
}

void StripProfilesTest::keptOrientationStillTurnsThePicture()
{
    // A photo taken on its side still shows upright after the strip.
    const TestEnvironment environment;
    const QString path = copyTestData("GPS.jpg", environment.workPath());
    int status = -1;
    runRealExifTool({"-IFD0:Orientation#=6", "-overwrite_original", path}, &status);
    QCOMPARE(status, 0);
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.stripForSharing(QUrl::fromLocalFile(path),
                                                         StripProfile::keepOrientationAndColour()));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(valueOf(path, "IFD0:Orientation"), QStringLiteral("Rotate 90 CW"));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage shown = reader.read();
    QCOMPARE(shown.size(), QSize(80, 120));
    QVERIFY(valueOf(path, "GPS:GPSLatitude").isEmpty());
}

QTEST_GUILESS_MAIN(StripProfilesTest)
#include "tst_StripProfiles.moc"
