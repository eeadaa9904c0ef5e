// Remove Metadata by a strip profile, driven as a window drives it on copies
// of the real samples through the real bundled ExifTool: the confirmation
// names the profile, the report proves what is left, files with anything
// left first. What reached a file is checked with a separate read.
#include "LibraryHarness.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Platform/Preferences.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class LibraryStripProfilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void profilesToChooseFrom();
    void oneFileByProfile();
    void batchListsFilesWithAnythingLeftFirst();
    void everythingLeavesBadgesAsTheFilesAre();

private:
    QString work() const { return m_env->workPath(); }
    std::unique_ptr<TestEnvironment> m_env;
};

void LibraryStripProfilesTest::profilesToChooseFrom()
{
    StripProfile own;
    own.name = "Mine";
    own.removedClasses = {PrivacyClass::people};
    QVERIFY(Preferences::standard().setData(StripProfiles::preferencesKey,
                                            StripProfiles::encode({own})));
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    QStringList names;
    for (const StripProfile &profile : lib.stripProfiles())
        names << profile.name;
    QCOMPARE(names, QStringList(
                        {"everything", "keep-orientation-colour", "location", "personal", "Mine"}));
    QSignalSpy changed(&lib, &LibraryViewModel::stripProfileNameChanged);
    lib.setStripProfileName("nope");
    QCOMPARE(lib.stripProfileName(), QStringLiteral("everything"));
    lib.setStripProfileName("Mine");
    QCOMPARE(lib.stripProfileName(), QStringLiteral("Mine"));
    QCOMPARE(changed.count(), 1);
}

void LibraryStripProfilesTest::oneFileByProfile()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = copyTestData("GPS.jpg", work());
    lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
    lib.setStripProfileName("location");
    lib.presentRemoveMetadataConfirmation();
    QVERIFY(lib.removeMetadataRequest());
    QCOMPARE(lib.removeMetadataRequest()->profileTitle, QStringLiteral("Location only"));
    lib.confirmRemoveMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(statusText(lib), QStringLiteral("GPS.jpg: no location left."));
    const PrivacyFindings after = PrivacyFindings::of(readEntries(path));
    QVERIFY(after.of(PrivacyClass::location).isEmpty());
    QVERIFY(after.of(PrivacyClass::people).contains("IFD0:Artist"));
    // The editor shows the file as it now is (a pinned field stays, empty).
    const std::optional<MetadataEntry> latitude = visibleEntry(lib, "GPS:GPSLatitude");
    QVERIFY(!latitude || latitude->value.isEmpty());
    QVERIFY(visibleEntry(lib, "IFD0:Artist"));
}

void LibraryStripProfilesTest::batchListsFilesWithAnythingLeftFirst()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString jpeg = copyTestData("Canon.jpg", work()),
                  raw = copyTestData("CanonRaw.cr2", work()),
                  movie = copyTestData("Matroska.mkv", work());
    lib.importItems({url(jpeg), url(raw), url(movie)});
    QVERIFY(waitUntilIdle(lib));
    lib.setStripProfileName("personal");
    lib.presentRemoveAllMetadataConfirmation();
    QVERIFY(lib.removeAllMetadataRequest());
    QCOMPARE(lib.removeAllMetadataRequest()->profileTitle,
             QStringLiteral("Personal and device details"));
    lib.confirmRemoveAllMetadata();
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(lib.activeError());
    QCOMPARE(lib.activeError()->title, QStringLiteral("Not Everything Could Be Removed"));
    const QStringList lines = alertText(lib).split(u'\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).startsWith("CanonRaw.cr2: no people left. 2 device details could not be "
                                    "removed from this file type: Make, Model."),
             qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), QStringLiteral("Canon.jpg: no people, no device serial left."));
    QVERIFY2(lines.at(2).startsWith("Matroska.mkv: "), qPrintable(lines.at(2)));
    QVERIFY(PrivacyFindings::of(readEntries(jpeg)).of(PrivacyClass::device).isEmpty());
}

void LibraryStripProfilesTest::everythingLeavesBadgesAsTheFilesAre()
{
    // The badge of a stripped file tells what its strip left, whether or not
    // the file is the one shown: a JPEG loses its findings, a raw file keeps
    // the maker notes' serial numbers.
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    lib.importItems(
        {url(copyTestData("Canon.jpg", work())), url(copyTestData("CanonRaw.cr2", work()))});
    QVERIFY(waitUntilIdle(lib));
    const QUuid jpeg = lib.items().at(0).id, raw = lib.items().at(1).id;
    // Each file is checked as it comes in, the one not shown too.
    QTRY_COMPARE(lib.privacyFlaggedItemIDs(), (QSet<QUuid>{jpeg, raw}));
    lib.setStripProfileName("everything");
    lib.presentRemoveAllMetadataConfirmation();
    QVERIFY(lib.removeAllMetadataRequest());
    lib.confirmRemoveAllMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(lib.privacyFlaggedItemIDs(), QSet<QUuid>{raw});
}

QTEST_GUILESS_MAIN(LibraryStripProfilesTest)
#include "tst_LibraryStripProfiles.moc"
