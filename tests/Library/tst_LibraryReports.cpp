// What the library tells after a change, driven as a window drives it on
// copies of the real samples through the real bundled ExifTool: strip
// reports, lists saved item by item, presets that write what they can,
// values stored otherwise than typed, read-only formats, unknown keys and
// the alerts' titles. What reached a file is checked with a separate read.
// Write Anyway is driven over a scripted engine (tst_LibraryStates).

#include "LibraryHarness.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"

#include "tests/Engine/RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

// The items ExifTool itself prints for the tag, read apart from the engine.
QStringList storedItems(const QString &path, const QString &key)
{
    const QJsonValue value =
        QJsonDocument::fromJson(runRealExifTool({"-json", "-G1", "-" + key, path}))
            .array()
            .first()
            .toObject()
            .value(key);
    if (value.isArray()) {
        QStringList items;
        for (const QJsonValue &item : value.toArray())
            items << item.toVariant().toString();
        return items;
    }
    return value.isUndefined() ? QStringList() : QStringList{value.toVariant().toString()};
}

void importOne(LibraryViewModel &lib, const QString &path)
{
    lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
}

QString alertTitle(const LibraryViewModel &lib)
{
    return lib.activeError() ? lib.activeError()->title : QString();
}

} // namespace

class LibraryReportsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void stripSaysWhatIsLeft_data();
    void stripSaysWhatIsLeft();
    void batchStripNamesWhatEachFileKept();
    void editedListIsSavedItemByItem();
    void listTagsFromTheTagTable();
    void presetWritesWhatTheFileTakes();
    void valuesStoredOtherwiseShowWhatTheFileHolds();
    void unknownKeysAreNamed();
    void unwritableFormatIsReadOnlyFromTheStart();
    void fileDatesAndPermissions();
    void alertTitlesSayWhatFailed();

private:
    QString work() const { return m_env->workPath(); }
    std::unique_ptr<TestEnvironment> m_env;
};

void LibraryReportsTest::stripSaysWhatIsLeft_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("said");    // a sentence of the proof; none: nothing left
    QTest::addColumn<QString>("blanked"); // a serial number the file type keeps, zeroed
    QTest::newRow("CR2") << "CanonRaw.cr2"
                         << "Blanked, since this file type keeps them: OwnerName, SerialNumber."
                         << "Canon:SerialNumber";
    QTest::newRow("CR3") << "CanonRaw.cr3"
                         << "Blanked, since this file type keeps them: InternalSerialNumber, "
                            "SerialNumber,"
                         << "Canon:InternalSerialNumber";
    QTest::newRow("PDF") << "PDF.pdf"
                         << "7 personal details could not be removed from this file type: "
                            "Artist, Copyright, By-line,"
                         << "";
    QTest::newRow("JPEG, every tag gone") << "GPS.jpg"
                                          << ""
                                          << "";
}

void LibraryReportsTest::stripSaysWhatIsLeft()
{
    QFETCH(QString, file);
    QFETCH(QString, said);
    QFETCH(QString, blanked);
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = copyTestData(file, work());
    // Something a strip does remove from each of them.
    runRealExifTool({"-overwrite_original", "-XMP-dc:Title=mine", path});
    importOne(lib, path);
    lib.presentRemoveMetadataConfirmation();
    lib.confirmRemoveMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(storedItems(path, title), QStringList());

    if (said.isEmpty()) {
        QVERIFY(!lib.activeError());
        QVERIFY2(statusText(lib).startsWith(file + ": no location, no people, no device serial"),
                 qPrintable(statusText(lib)));
        return;
    }
    // Said in an alert: the user asked for more than happened.
    QCOMPARE(alertTitle(lib), QStringLiteral("Not Everything Could Be Removed"));
    const QString text = alertText(lib);
    QVERIFY2(text.startsWith(file + ": ") && text.contains(said), qPrintable(text));
    if (!blanked.isEmpty())
        QVERIFY(PrivacyFindings::isBlank(valueOf(path, blanked)));
    // The editor shows the file as it now is.
    QVERIFY(visibleEntry(lib, "IFD0:Make"));
    QVERIFY(!visibleEntry(lib, title) || visibleEntry(lib, title)->value.isEmpty());
}

void LibraryReportsTest::batchStripNamesWhatEachFileKept()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString jpeg = copyTestData("GPS.jpg", work()),
                  raw = copyTestData("CanonRaw.cr2", work()),
                  movie = copyTestData("Matroska.mkv", work());
    lib.importItems({url(jpeg), url(raw), url(movie)});
    QVERIFY(waitUntilIdle(lib));
    lib.presentRemoveAllMetadataConfirmation();
    lib.confirmRemoveAllMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(alertTitle(lib), QStringLiteral("Not Everything Could Be Removed"));
    // What a file kept comes first, the clean file next, the failure last.
    const QStringList lines = alertText(lib).split(u'\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).startsWith("CanonRaw.cr2: ") &&
                 lines.at(0).contains("2 device details could not be removed from this file "
                                      "type: Make, Model."),
             qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).startsWith("GPS.jpg: no location"), qPrintable(lines.at(1)));
    QCOMPARE(lines.at(2), QStringLiteral("Matroska.mkv: ExifTool can't write MKV files, so this "
                                         "file was left as it was."));
    QVERIFY(!lib.writeAnywayRequest());
}

void LibraryReportsTest::editedListIsSavedItemByItem()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = copyTestData("IPTC.jpg", work());
    importOne(lib, path);
    const MetadataEntry keywords = *visibleEntry(lib, "IPTC:Keywords");
    QVERIFY(keywords.isList);
    QCOMPARE(keywords.items, QStringList({"ExifTool", "Test", "IPTC"}));

    lib.editItems(keywords, {"ExifTool", "Test", "IPTC", "Added, with a comma"});
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(statusText(lib), QStringLiteral("Metadata saved successfully."));
    QCOMPARE(storedItems(path, "IPTC:Keywords"),
             QStringList({"ExifTool", "Test", "IPTC", "Added, with a comma"}));
    QCOMPARE(visibleEntry(lib, "IPTC:Keywords")->items.size(), 4);

    // Typed as text, one item per line.
    lib.editValue(*visibleEntry(lib, "IPTC:Keywords"), "alpha, beta\ngamma");
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(storedItems(path, "IPTC:Keywords"), QStringList({"alpha, beta", "gamma"}));
}

void LibraryReportsTest::listTagsFromTheTagTable()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = makeImage(work(), "one.jpg");
    runRealExifTool({"-overwrite_original", "-IPTC:Keywords=only", path});
    importOne(lib, path);
    // One item reads like one value until the tag table says it is a list
    // (at once when an earlier window of the process has the table); the
    // pinned placeholder of a list tag becomes one too.
    lib.ensureOptionsLoaded(*visibleEntry(lib, "IPTC:Keywords"));
    lib.ensureOptionsLoaded(*visibleEntry(lib, "XMP-dc:Subject"));
    QTRY_VERIFY_WITH_TIMEOUT(visibleEntry(lib, "IPTC:Keywords")->isList &&
                                 visibleEntry(lib, "XMP-dc:Subject")->isList,
                             30000);
    QCOMPARE(visibleEntry(lib, "IPTC:Keywords")->items, QStringList{"only"});
    QVERIFY(!visibleEntry(lib, "XMP-dc:Title")->isList);

    lib.editItems(*visibleEntry(lib, "XMP-dc:Subject"), {"sea, shore", "boats"});
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(storedItems(path, "XMP-dc:Subject"), QStringList({"sea, shore", "boats"}));
    // Read again, a list of one item stays a list.
    lib.editItems(*visibleEntry(lib, "XMP-dc:Subject"), {"sea, shore"});
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QVERIFY(visibleEntry(lib, "XMP-dc:Subject")->isList);
    QCOMPARE(visibleEntry(lib, "XMP-dc:Subject")->items, QStringList{"sea, shore"});
}

void LibraryReportsTest::presetWritesWhatTheFileTakes()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString pdf = copyTestData("PDF.pdf", work(), "doc.pdf");
    const QString jpeg = copyTestData("GPS.jpg", work());
    lib.importItems({url(pdf), url(jpeg)});
    QVERIFY(waitUntilIdle(lib));
    lib.applyPreset({QUuid::createUuid(), "Publish",
                     PresetAction::addOrModifyItems(
                         {{"XMP-dc:Rights", {"mine"}}, {"IPTC:Keywords", {"sea, shore", "boats"}}},
                         {"GPS:all", "IFD0:Model"})});
    QVERIFY(waitUntilIdle(lib));
    // The PDF keeps its embedded Model; its Rights are written all the same.
    QCOMPARE(storedItems(pdf, "XMP-dc:Rights"), QStringList{"mine"});
    QCOMPARE(storedItems(jpeg, "XMP-dc:Rights"), QStringList{"mine"});
    QCOMPARE(storedItems(jpeg, "IPTC:Keywords"), QStringList({"sea, shore", "boats"}));
    QCOMPARE(storedItems(jpeg, "GPS:GPSLatitude"), QStringList());
    QCOMPARE(alertTitle(lib), QStringLiteral("Preset Not Applied in Full"));
    QVERIFY2(alertText(lib).startsWith("Applied preset 'Publish' to 2 items.\n\nThese files did "
                                       "not take all of the preset's changes:\n\ndoc.pdf: This "
                                       "PDF file keeps IFD0:Model where ExifTool cannot remove "
                                       "it."),
             qPrintable(alertText(lib)));
    QVERIFY2(!alertText(lib).contains("GPS.jpg"), qPrintable(alertText(lib)));
}

void LibraryReportsTest::valuesStoredOtherwiseShowWhatTheFileHolds()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = makeImage(work(), "photo.jpg");
    runRealExifTool({"-overwrite_original", "-IPTC:ObjectName=old", "-XMP-exif:FNumber=2", path});
    importOne(lib, path);
    const QString longName = QString(80, QLatin1Char('n'));
    lib.editValue(*visibleEntry(lib, "IPTC:ObjectName"), longName);
    lib.editValue(*visibleEntry(lib, "XMP-exif:FNumber"), "2.80");
    lib.editValue(*visibleEntry(lib, title), "kept as typed");
    // Two items for a tag that holds one value.
    lib.editItems(*visibleEntry(lib, "XMP-dc:Description"), {"first", "second"});
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(statusText(lib), QStringLiteral("Metadata saved. 3 tags were not stored as typed."));
    const MetadataEntry joined = *visibleEntry(lib, description);
    QCOMPARE(joined.value, storedItems(path, description).value(0));
    QVERIFY(joined.warning && joined.isWritable());

    const MetadataEntry shortened = *visibleEntry(lib, "IPTC:ObjectName");
    QCOMPARE(shortened.value, QString(64, QLatin1Char('n')));
    QCOMPARE(shortened.value, storedItems(path, "IPTC:ObjectName").value(0));
    QCOMPARE(shortened.warning, std::optional<QString>("IPTC:ObjectName was shortened to 64 "
                                                       "bytes, the longest this format holds."));
    QVERIFY(shortened.isWritable() && !shortened.isModified());
    // The row first comes into view now: its tag table entry keeps the note.
    QVERIFY(runTask(h.service->tagDefinition("IPTC:ObjectName")).succeeded());
    lib.ensureOptionsLoaded(shortened);
    QCoreApplication::processEvents();
    QVERIFY(visibleEntry(lib, "IPTC:ObjectName")->warning);
    const MetadataEntry converted = *visibleEntry(lib, "XMP-exif:FNumber");
    QCOMPARE(converted.value, QStringLiteral("2.8"));
    QCOMPARE(converted.warning,
             std::optional<QString>("ExifTool stored “2.80” for XMP-exif:FNumber as “2.8”."));
    QVERIFY(!visibleEntry(lib, title)->warning);

    // A tag the format keeps where ExifTool cannot write it: its old items,
    // read-only, since trying again would change nothing.
    const QString pdf = copyTestData("PDF.pdf", work());
    lib.importItems({url(pdf)});
    lib.setSelectedItemID(itemNamed(lib, "PDF.pdf"));
    QVERIFY(waitUntilIdle(lib));
    const MetadataEntry keywords = *visibleEntry(lib, "IPTC:Keywords");
    lib.editItems(keywords, keywords.items + QStringList{"new"});
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    const MetadataEntry kept = *visibleEntry(lib, "IPTC:Keywords");
    QCOMPARE(kept.items, keywords.items);
    QCOMPARE(kept.warning, std::optional<QString>("This PDF file keeps IPTC:Keywords where "
                                                  "ExifTool cannot write it, so it still holds "
                                                  "its old value."));
    QVERIFY(!kept.isWritable());
}

void LibraryReportsTest::unknownKeysAreNamed()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = makeImage(work(), "photo.jpg");
    const CustomMetadataTag grouped{QUuid::createUuid(), "XMP-dc:Tittle", "Typo"};
    const CustomMetadataTag bare{QUuid::createUuid(), "Captionn", "Bare typo"};
    lib.updateMetadataDraft(lib.pinnedTags(), {grouped, bare});
    importOne(lib, path);

    // Alone, and among values the file takes.
    for (const bool withTitle : {false, true}) {
        lib.editValue(*visibleEntry(lib, grouped.rawKey), "a");
        lib.editValue(*visibleEntry(lib, bare.rawKey), "b");
        if (withTitle)
            lib.editValue(*visibleEntry(lib, title), "T");
        runTask(lib.saveChanges());
        QVERIFY2(!lib.activeError(), qPrintable(alertText(lib)));
        QCOMPARE(statusText(lib),
                 QStringLiteral("ExifTool doesn't know tags named Captionn, XMP-dc:Tittle."));
        const MetadataEntry typo = *visibleEntry(lib, grouped.rawKey);
        QCOMPARE(typo.value, QStringLiteral("a"));
        QCOMPARE(typo.warning,
                 std::optional<QString>("ExifTool doesn't know a tag named XMP-dc:Tittle, so "
                                        "it was not written. Check the key's spelling in the "
                                        "field settings."));
        QVERIFY(!typo.isWritable());
        QCOMPARE(storedItems(path, title), withTitle ? QStringList{"T"} : QStringList());
        runTask(lib.reloadMetadata());
    }
}

void LibraryReportsTest::unwritableFormatIsReadOnlyFromTheStart()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString movie = copyTestData("Matroska.mkv", work());
    const QString photo = makeImage(work(), "photo.jpg");
    QSignalSpy notes(&lib, &LibraryViewModel::readOnlyFormatNoteChanged);
    lib.importItems({url(movie), url(photo)});
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(lib.readOnlyFormatNote(),
             std::optional<QString>("ExifTool can't write MKV files; their metadata is shown "
                                    "read-only."));
    QVERIFY(!lib.filteredEntries().isEmpty());
    for (const MetadataEntry &entry : lib.filteredEntries()) {
        QVERIFY2(!entry.isWritable(), qPrintable(entry.rawKey));
        QVERIFY2(!entry.value.isEmpty(), qPrintable(entry.rawKey)); // no placeholders
    }
    // The tag table does not make them writable either: with the listing
    // at hand a lookup is done once its queued call ran, as the JPEG shows.
    const QString fileDate = QStringLiteral("System:FileModifyDate");
    QVERIFY(runTask(h.service->tagDefinition(fileDate)).value.value_or(std::nullopt)->writable);
    lib.ensureOptionsLoaded(*visibleEntry(lib, fileDate));
    QCoreApplication::processEvents();
    QVERIFY(!visibleEntry(lib, fileDate)->isWritable());
    const MetadataEntry date = *visibleEntry(lib, "Matroska:DateTimeOriginal");
    lib.editValue(date, "2020:01:01 00:00:00");
    QCOMPARE(statusText(lib), QStringLiteral("This tag is read-only in ExifTool."));
    QCOMPARE(notes.count(), 1);

    lib.setSelectedItemID(lib.items()[1].id);
    QVERIFY(!lib.readOnlyFormatNote());
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(!lib.readOnlyFormatNote());
    QVERIFY(visibleEntry(lib, title)->isWritable()); // placeholders are back
    QVERIFY(visibleEntry(lib, fileDate)->isWritable());

    lib.setSelectedItemID(lib.items()[0].id);
    QVERIFY(waitUntilIdle(lib));
    lib.presentRemoveMetadataConfirmation();
    lib.confirmRemoveMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(alertTitle(lib), QStringLiteral("Metadata Not Removed from Matroska.mkv"));
    QCOMPARE(alertText(lib),
             QStringLiteral("ExifTool can't write MKV files, so this file was left as it was."));
}

void LibraryReportsTest::fileDatesAndPermissions()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = makeImage(work(), "photo.jpg");
    importOne(lib, path);
    const QString date = QStringLiteral("System:FileModifyDate");
    // Read-only until the tag table says otherwise (at once when an earlier
    // window of the process has the table).
    lib.ensureOptionsLoaded(*visibleEntry(lib, date));
    lib.ensureOptionsLoaded(*visibleEntry(lib, "System:FilePermissions"));
    QTRY_VERIFY_WITH_TIMEOUT(visibleEntry(lib, date)->isWritable(), 30000);
    QVERIFY(!visibleEntry(lib, "System:FilePermissions")->isWritable());

    lib.editValue(*visibleEntry(lib, date), "2020:02:03 04:05:06+00:00");
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(QFileInfo(path).lastModified().toUTC(),
             QDateTime(QDate(2020, 2, 3), QTime(4, 5, 6), Qt::UTC));
}

void LibraryReportsTest::alertTitlesSayWhatFailed()
{
    // ExifTool's own failure is titled so. The alerts of failures that are
    // not ExifTool's (a file this user cannot change, an export folder that
    // is not there, a name Metaloom cannot handle) are told over a scripted
    // engine (tst_LibraryStates).
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    importOne(lib, brokenJpeg(work(), "broken.jpg"));
    lib.setActiveError(std::nullopt);
    lib.editValue(*visibleEntry(lib, title), "T");
    runTask(lib.saveChanges());
    QCOMPARE(alertTitle(lib), QStringLiteral("ExifTool Error"));
}

QTEST_MAIN(LibraryReportsTest)
#include "tst_LibraryReports.moc"
