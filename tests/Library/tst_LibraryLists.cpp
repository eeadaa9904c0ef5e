// The library's pure parts: merging, ordering and filtering the entry list,
// marks from ExifTool's answers, the batch report texts and import planning.

#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Library/BatchReportTexts.h"
#include "MetaloomFeature/Library/EntryListMerge.h"
#include "MetaloomFeature/Library/EntryMarks.h"
#include "MetaloomFeature/Library/ImportPlanning.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/PrivacyReportTexts.h"
#include "MetaloomFeature/Library/SearchFilter.h"
#include "MetaloomFeature/Library/TagNames.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QCoroTimer>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Metaloom;

namespace {

MetadataEntry entry(const QString &key, const QString &value)
{
    return MetadataEntry(key, value);
}

QStringList keysOf(const QList<MetadataEntry> &entries)
{
    QStringList keys;
    for (const MetadataEntry &e : entries)
        keys << e.rawKey;
    return keys;
}

const MetadataEntry *find(const QList<MetadataEntry> &entries, const QString &key)
{
    for (const MetadataEntry &e : entries) {
        if (e.rawKey == key)
            return &e;
    }
    return nullptr;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class LibraryListsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mergeAddsPlaceholdersMarksAndSorts();
    void mergeKeepsIdsAndDropsStalePlaceholders();
    void displayLabelPrefersCustomThenEntryThenTag();
    void searchMatchesKeyOrValue_data();
    void searchMatchesKeyOrValue();
    void writabilityAndFailureMarks();
    void storedNotesListsAndAssignments();
    void unknownTagNames();
    void editsCarriedAcrossARead();
    void listTextIsOneItemPerLine();
    void batchTexts_data();
    void batchTexts();
    void singleFileAndProgressTexts();
    void saveStatus_data();
    void saveStatus();
    void batchGoesOnPastFailuresUntilStopped();
    void batchRunsFilesSideBySideInListOrder_data();
    void batchRunsFilesSideBySideInListOrder();
    void importPlanExpandsFoldersAndSkipsOthers();
    void importSummary_data();
    void importSummary();
};

void LibraryListsTest::mergeAddsPlaceholdersMarksAndSorts()
{
    QList<MetadataEntry> entries{entry("XMP-dc:Title", "Sunset"), entry("ExifIFD:ISO", "100"),
                                 entry("ExifIFD:aperture", "2.8"), entry("IFD0:Empty", ""),
                                 entry("IFD0:Artist", "Jane")};
    const EntryListMerge::FieldSettings settings{
        {"IFD0:Make", "ExifIFD:ISO"},
        {{QUuid::createUuid(), "IFD0:Artist", "Photographer"},
         {QUuid::createUuid(), "XMP-dc:Caption", "My Caption"},
         {QUuid::createUuid(), "XMP-dc:Caption", "Second"},
         {QUuid::createUuid(), "XMP-dc:Rights_Holder", ""}},
        {"IFD0:Make"}};
    EntryListMerge::mergeFieldSettings(entries, settings);

    // The empty, unpinned tag is gone; groups and tags sort case-insensitively
    // (a small "a" before a capital "I"); one placeholder per custom key.
    QCOMPARE(keysOf(entries),
             QStringList({"ExifIFD:aperture", "ExifIFD:ISO", "IFD0:Artist", "IFD0:Make",
                          "XMP-dc:Caption", "XMP-dc:Rights_Holder", "XMP-dc:Title"}));
    const MetadataEntry *make = find(entries, "IFD0:Make");
    QVERIFY(make->isFavorite && make->isDefaultFavorite && make->value.isEmpty());
    QCOMPARE(make->displayName, QStringLiteral("Make"));
    QCOMPARE(find(entries, "XMP-dc:Caption")->displayName, QStringLiteral("My Caption"));
    // A field the file holds (once saved, say) keeps its label; without the
    // field the tag's own name comes back.
    QCOMPARE(find(entries, "IFD0:Artist")->displayName, QStringLiteral("Photographer"));
    EntryListMerge::mergeFieldSettings(entries, {{}, {}, {}});
    QCOMPARE(find(entries, "IFD0:Artist")->displayName, QStringLiteral("Artist"));
    EntryListMerge::mergeFieldSettings(entries, settings);
    // A field without a label is named after its tag rather than left blank.
    QCOMPARE(find(entries, "XMP-dc:Rights_Holder")->displayName, QStringLiteral("Rights Holder"));
    QVERIFY(find(entries, "XMP-dc:Caption")->isFavorite);
    QVERIFY(find(entries, "ExifIFD:ISO")->isFavorite);
    QVERIFY(!find(entries, "ExifIFD:ISO")->isDefaultFavorite);
    QVERIFY(!find(entries, "XMP-dc:Title")->isFavorite);
}

void LibraryListsTest::mergeKeepsIdsAndDropsStalePlaceholders()
{
    QList<MetadataEntry> entries{entry("XMP-dc:Title", "Sunset")};
    EntryListMerge::mergeFieldSettings(entries, {{"IFD0:Make"}, {}, {}});
    const QUuid titleID = find(entries, "XMP-dc:Title")->id;
    const QUuid makeID = find(entries, "IFD0:Make")->id;

    // An edited placeholder stays when unpinned; an untouched one goes.
    EntryListMerge::mergeFieldSettings(entries, {{"IFD0:Make", "IFD0:Model"}, {}, {}});
    QCOMPARE(find(entries, "XMP-dc:Title")->id, titleID);
    QCOMPARE(find(entries, "IFD0:Make")->id, makeID);
    for (MetadataEntry &e : entries) {
        if (e.rawKey == "IFD0:Model")
            e.value = "typed";
    }
    EntryListMerge::mergeFieldSettings(entries, {{}, {}, {}});
    QCOMPARE(keysOf(entries), QStringList({"IFD0:Model", "XMP-dc:Title"}));
    QVERIFY(!find(entries, "IFD0:Model")->isFavorite);
}

void LibraryListsTest::displayLabelPrefersCustomThenEntryThenTag()
{
    const QList<CustomMetadataTag> custom{{QUuid::createUuid(), "XMP-dc:Title", "Headline"},
                                          {QUuid::createUuid(), "IFD0:Model", ""}};
    const QList<MetadataEntry> entries{MetadataEntry("IFD0:Model", "X", QStringLiteral("Camera"))};
    QCOMPARE(EntryListMerge::displayLabel("XMP-dc:Title", custom, entries),
             QStringLiteral("Headline"));
    QCOMPARE(EntryListMerge::displayLabel("IFD0:Model", custom, entries), QStringLiteral("Camera"));
    QCOMPARE(EntryListMerge::displayLabel("Composite:Lens_ID", custom, entries),
             QStringLiteral("Lens ID"));
}

void LibraryListsTest::searchMatchesKeyOrValue_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty shows all")
        << "  " << QStringList({"IFD0:Make", "IFD0:Model", "XMP-dc:Title"});
    QTest::newRow("value, trimmed, any case") << "  nikon \n" << QStringList({"IFD0:Make"});
    QTest::newRow("raw key part") << "xmp-DC" << QStringList({"XMP-dc:Title"});
    QTest::newRow("display name is not searched") << "Headline" << QStringList();
    QTest::newRow("the value as edited") << "z6" << QStringList({"IFD0:Model"});
    QTest::newRow("not the value read before the edit") << "d750" << QStringList();
}

void LibraryListsTest::searchMatchesKeyOrValue()
{
    QFETCH(QString, search);
    QFETCH(QStringList, expected);
    QList<MetadataEntry> entries{entry("IFD0:Make", "NIKON CORPORATION"),
                                 entry("IFD0:Model", "D750"),
                                 MetadataEntry("XMP-dc:Title", "Sea", QStringLiteral("Headline"))};
    entries[1].value = QStringLiteral("Z6");
    QCOMPARE(keysOf(SearchFilter::filter(entries, search)), expected);
    // One entry alone is judged the same way (an edit re-checks only its entry).
    for (const MetadataEntry &candidate : std::as_const(entries))
        QCOMPARE(SearchFilter::matches(candidate, search), expected.contains(candidate.rawKey));
}

void LibraryListsTest::writabilityAndFailureMarks()
{
    QList<MetadataEntry> entries{entry("XMP-dc:Title", "a"), entry("IFD0:Title", "b"),
                                 entry("IFD0:Make", "c"), entry("X:", "d")};
    entries[2].warning = QStringLiteral("old");
    entries[2].forceReadOnly = true;

    QCOMPARE(EntryMarks::applyWritability(entries, "IFD0:Make", false), 0); // already so
    QCOMPARE(EntryMarks::applyWritability(entries, "IFD0:Make", true), 1);
    QVERIFY(!entries[2].warning && !entries[2].forceReadOnly);
    // Writable already, a row keeps its note on what the file holds.
    entries[0].warning = QStringLiteral("shortened");
    QCOMPARE(EntryMarks::applyWritability(entries, "XMP-dc:Title", true), 0);
    QCOMPARE(entries[0].warning, std::optional<QString>("shortened"));

    // The tag name alone matches too (both Title rows); an empty tag never does.
    const QString error = QStringLiteral("Can't write Title");
    QCOMPARE(EntryMarks::markWriteFailure(entries, error), 2);
    QCOMPARE(entries[0].warning, std::optional(error));
    QVERIFY(!entries[0].isWritable() && !entries[3].forceReadOnly);

    QCOMPARE(EntryMarks::markNotWritten(entries, {{"IFD0:Make", {"typed", false, {}}}}), 1);
    QCOMPARE(entries[2].value, QStringLiteral("typed"));
    QCOMPARE(entries[2].warning, std::optional(EntryMarks::noPlaceWarning()));
    QVERIFY(!entries[2].isWritable());
}

void LibraryListsTest::storedNotesListsAndAssignments()
{
    QList<MetadataEntry> entries{entry("IPTC:ObjectName", "short"), entry("IPTC:Keywords", "one"),
                                 entry("XMP-dc:Subject", ""), entry("IFD0:Make", "kept")};
    QCOMPARE(EntryMarks::markStoredOtherwise(
                 entries, {{"IPTC:ObjectName", {"cut", false}}, {"IFD0:Make", {"kept old", true}}}),
             2);
    QCOMPARE(entries[0].warning, std::optional<QString>("cut"));
    QVERIFY(entries[0].isWritable() && entries[0].value == "short");
    QVERIFY(!entries[3].isWritable());

    QCOMPARE(EntryMarks::markAsLists(entries, "IPTC:Keywords"), 1);
    QCOMPARE(EntryMarks::markAsLists(entries, "IPTC:Keywords"), 0);
    QCOMPARE(EntryMarks::markAsLists(entries, "XMP-dc:Subject"), 1);
    QCOMPARE(entries[1].items, QStringList{"one"});
    QCOMPARE(entries[2].items, QStringList());
    QVERIFY(!entries[1].isModified() && !entries[2].isModified());

    // A list by its items, never split or joined; emptied, a deletion.
    entries[1].setItems({"a, b", "c"});
    QCOMPARE(EntryMarks::assignmentOf(entries[1]), (TagAssignment{"IPTC:Keywords", {"a, b", "c"}}));
    entries[0].value.clear();
    QCOMPARE(EntryMarks::assignmentOf(entries[0]), (TagAssignment{"IPTC:ObjectName", {}}));
    QCOMPARE(EntryMarks::assignmentOf(entries[3]), (TagAssignment{"IFD0:Make", {"kept"}}));

    // A preset's removal of a key it also sets is left out: the value
    // replaces it anyway.
    const PresetAction action = PresetAction::addOrModifyItems(
        {{"XMP-dc:Title", {"T"}}, {"IPTC:Keywords", {"a, b", "c"}}}, {"GPS:all", "XMP-dc:Title"});
    QCOMPARE(FileOperations::presetAssignments(action),
             (QList<TagAssignment>{
                 {"GPS:all", {}}, {"IPTC:Keywords", {"a, b", "c"}}, {"XMP-dc:Title", {"T"}}}));

    // The file's modification date is read-only until the table says so,
    // unlike the rest of its group, which stays read-only.
    MetadataEntry date("System:FileModifyDate", "2020:01:01 00:00:00+00:00");
    QVERIFY(!date.isWritable());
    QList<MetadataEntry> system{date, entry("System:FileSize", "1 kB")};
    QCOMPARE(EntryMarks::applyWritability(system, "System:FileModifyDate", true), 1);
    QCOMPARE(EntryMarks::applyWritability(system, "System:FileSize", true), 0);
    QVERIFY(system[0].isWritable() && !system[1].isWritable());
}

void LibraryListsTest::unknownTagNames()
{
    const QSet<QString> known =
        TagNames::knownNames({"IFD0:Make", "XMP-dc:Subject", "IFD0:Orientation"});
    // Any group, or none, with a known name; "#" and the case do not count.
    QCOMPARE(
        TagNames::unknownKeys({"EXIF:Make", "make", "XMP:Subject", "IFD0:Orientation#", "AllDates",
                               "XMP-dc:all", "XMP-dc:Tittle", "Captionn", "Captionn"},
                              known),
        QStringList({"XMP-dc:Tittle", "Captionn"}));
}

void LibraryListsTest::editsCarriedAcrossARead()
{
    using EntryMarks::EnteredValue;
    QList<MetadataEntry> before{entry("XMP-dc:Title", "sent"), entry("IFD0:Make", "x"),
                                MetadataEntry::listEntry("IPTC:Keywords", {"a", "b"})};
    const QHash<QUuid, EnteredValue> sent = EntryMarks::enteredValues(before);
    before[1].value = QStringLiteral("typed meanwhile");
    before[2].setItems({"a", "b", "c, d"});
    // A pinned row added during the write, then typed into.
    MetadataEntry city = entry("IPTC:City", "");
    city.value = QStringLiteral("Oslo");
    before.append(city);
    const QHash<QString, EnteredValue> edits = EntryMarks::editsSince(before, sent);
    QCOMPARE(edits, (QHash<QString, EnteredValue>{
                        {"IFD0:Make", {"typed meanwhile", false, {}}},
                        {"IPTC:Keywords", {"a, b, c, d", true, {"a", "b", "c, d"}}},
                        {"IPTC:City", {"Oslo", false, {}}}}));

    // Read again, the keywords came back as one value: they are a list
    // again, with the item that holds a comma kept whole.
    QList<MetadataEntry> reread{entry("XMP-dc:Title", "sent"), entry("IFD0:Make", "x"),
                                entry("IPTC:Keywords", "a, b"), entry("IPTC:City", "")};
    QCOMPARE(EntryMarks::applyEdits(reread, edits), 3);
    QCOMPARE(reread[1].value, QStringLiteral("typed meanwhile"));
    QVERIFY(reread[1].isModified());
    QVERIFY(reread[2].isList);
    QCOMPARE(reread[2].items, QStringList({"a", "b", "c, d"}));
    QCOMPARE(reread[3].value, QStringLiteral("Oslo"));
    QCOMPARE(EntryMarks::applyEdits(reread, edits), 0); // already there
}

void LibraryListsTest::listTextIsOneItemPerLine()
{
    QCOMPARE(LibraryViewModel::itemsOfText("sea\n\n  \nboats, pier\n"),
             QStringList({"sea", "boats, pier"}));
    QCOMPARE(LibraryViewModel::itemsOfText(""), QStringList());
}

namespace {

FileOutcome fileOutcome(const QString &name, std::optional<QString> failure = std::nullopt,
                        ChangeReport report = {})
{
    FileOutcome outcome;
    outcome.file = QUrl::fromLocalFile(QStringLiteral("/photos/") + name);
    outcome.fileName = name;
    outcome.failure = std::move(failure);
    outcome.report = std::move(report);
    return outcome;
}

QCoro::Task<FileOutcome> scriptedChange(QUrl url)
{
    FileOutcome outcome;
    outcome.file = url;
    if (url.fileName().startsWith(QLatin1String("bad")))
        outcome.failure = QStringLiteral("refused");
    co_return outcome;
}

} // namespace

void LibraryListsTest::batchTexts_data()
{
    using Report = BatchReportTexts::Report;
    QTest::addColumn<bool>("preset");
    QTest::addColumn<QList<FileOutcome>>("files");
    QTest::addColumn<qsizetype>("total");
    QTest::addColumn<QString>("stoppedBefore");
    QTest::addColumn<Report>("expected");

    const FileOutcome a = fileOutcome("a.jpg"), b = fileOutcome("b.jpg");
    const FileOutcome bad = fileOutcome("bad.jpg", "E2");
    using Kind = TagOutcome::Kind;
    ChangeReport movReport;
    movReport.add({"IPTC:Keywords", Kind::notWritten, {}, "No place for IPTC:Keywords."});
    movReport.add({"GPS:GPSLatitude", Kind::notRemoved, {"52"}, "GPSLatitude kept."});
    const FileOutcome mov = fileOutcome("clip.mov", {}, movReport);
    // Refused and shortened are told apart from no place; a value in
    // ExifTool's normal form is no news.
    ChangeReport pdfReport;
    pdfReport.add({"XMP-dc:Rights", Kind::refused, {}, "ExifTool did not accept it."});
    pdfReport.add({"IPTC:City", Kind::shortened, {"Ab"}, "IPTC:City was shortened."});
    pdfReport.add({"XMP-exif:FNumber", Kind::converted, {"2.8"}, "Stored as 2.8."});
    const FileOutcome pdf = fileOutcome("doc.pdf", {}, pdfReport);
    // Keys without the engine's sentences.
    const FileOutcome bare =
        fileOutcome("bare.jpg", {}, ChangeReport{{"IPTC:Keywords"}, {"GPS:GPSLatitude"}, {}});
    FileOutcome minor = fileOutcome("n.nef", "M");
    minor.error = std::make_exception_ptr(
        ServiceError::minorError("n.nef", "Bad IFD1", "ExifTool objects to Bad IFD1."));
    // Every strip is proved by the file's check after it: a clean file, and
    // a raw file that kept its serial number and camera settings.
    PrivacyStripReport clean;
    clean.profileName = StripProfile::everything().name;
    clean.checkedClasses = StripProfile::everything().checkedClasses();
    clean.before = PrivacyFindings::of({entry("IFD0:Make", "Canon")});
    const auto stripped = [&clean](const QString &name) {
        FileOutcome file = fileOutcome(name);
        file.proof = clean;
        return file;
    };
    const FileOutcome sa = stripped("a.jpg"), sb = stripped("b.jpg");
    FileOutcome raw = fileOutcome("raw.cr2");
    raw.proof = clean;
    raw.proof->before = raw.proof->after = PrivacyFindings::of({entry("Canon:SerialNumber", "1")});
    raw.proof->left = {"Canon:SerialNumber"};
    raw.proof->otherLeft = {"ExifIFD:ISO"};
    const QString strip = QStringLiteral("Not Everything Could Be Removed");
    const QString partly = QStringLiteral("Preset Not Applied in Full");
    const QString notAll = QStringLiteral("These files did not take all of the preset's changes:");
    const QString kept = QStringLiteral(
        "raw.cr2: no location, no people, no dates, no hidden pictures, no edit history left. 1 "
        "device detail could not be removed from this file type: SerialNumber. 1 other tag could "
        "not be removed from this file type: ISO.");
    const QString anyway = QStringLiteral("Write Anyway makes the change in the file ExifTool "
                                          "stopped at, ignoring its minor problem.");

    QTest::newRow("strip: every file")
        << false << QList{sa, sb} << qsizetype(2) << QString()
        << Report{"Stripped 2 items with “Everything”: nothing of it left.", {}, {}};
    QTest::newRow("strip: one file") << false << QList{sa} << qsizetype(1) << QString()
                                     << Report{"a.jpg: no device serial left.", {}, {}};
    QTest::newRow("strip: a file keeps tags its type holds on to, listed first")
        << false << QList{sa, raw} << qsizetype(2) << QString()
        << Report{{}, strip, kept + "\na.jpg: no device serial left."};
    QTest::newRow("strip: kept tags and a failure")
        << false << QList{raw, bad} << qsizetype(2) << QString()
        << Report{{}, strip, kept + "\nbad.jpg: E2"};
    QTest::newRow("strip: a minor error, then stopped")
        << false << QList{sa, minor} << qsizetype(3) << "z.jpg"
        << Report{{},
                  strip,
                  "a.jpg: no device serial left.\nn.nef: M\n\nStopped before z.jpg; it was left "
                  "as it was.\n\n" +
                      anyway,
                  true};
    QTest::newRow("strip: the middle file fails, the last is still done")
        << false << QList{sa, bad, sb} << qsizetype(3) << QString()
        << Report{{},
                  strip,
                  "a.jpg: no device serial left.\nb.jpg: no device serial left.\nbad.jpg: E2"};
    QTest::newRow("strip: the one file fails") << false << QList{minor} << qsizetype(1) << QString()
                                               << Report{{}, "ExifTool Error", "M", true};
    QTest::newRow("strip: stopped by the user")
        << false << QList{sa} << qsizetype(4) << "b.jpg"
        << Report{"Stripped 1 of 4 items with “Everything”: nothing of it left. Stopped before "
                  "b.jpg; it and the 2 files after it were left as they were.",
                  {},
                  {}};
    QTest::newRow("preset: every file") << true << QList{a, b} << qsizetype(2) << QString()
                                        << Report{"Applied preset 'Strip GPS' to 2 items.", {}, {}};
    QTest::newRow("preset: one item") << true << QList{a} << qsizetype(1) << QString()
                                      << Report{"Applied preset 'Strip GPS' to 1 item.", {}, {}};
    QTest::newRow("preset: second of three fails")
        << true << QList{a, bad, b} << qsizetype(3) << QString()
        << Report{{}, partly, "Applied to 2 items. The rest were left unchanged:\n\nbad.jpg: E2"};
    QTest::newRow("preset: two files without a place for some tags")
        << true << QList{mov, pdf} << qsizetype(2) << QString()
        << Report{{},
                  partly,
                  "Applied preset 'Strip GPS' to 2 items.\n\n" + notAll +
                      "\n\nclip.mov: No place for IPTC:Keywords. GPSLatitude kept."
                      "\n\ndoc.pdf: ExifTool did not accept it. IPTC:City was shortened."};
    // Save All names its files as the preset does, one paragraph each.
    const QString saveTitle = QStringLiteral("Changes Not Saved to Every File");
    const QString notTaken =
        QStringLiteral("These files did not take all of the changes:\n\n"
                       "clip.mov: No place for IPTC:Keywords. GPSLatitude kept.");
    QTest::newRow("save all: two files without a place for some tags")
        << false << QList{mov, pdf} << qsizetype(2) << QString()
        << Report{{},
                  saveTitle,
                  "Saved the changes to 2 files.\n\n" + notTaken +
                      "\n\ndoc.pdf: ExifTool did not accept it. IPTC:City was shortened."};
    QTest::newRow("save all: a failure beside a file without a place")
        << false << QList{bad, mov} << qsizetype(2) << QString()
        << Report{{},
                  saveTitle,
                  "Saved the changes to 1 file. These files were left unchanged:\n\nbad.jpg: "
                  "E2\n\n" +
                      notTaken};
    QTest::newRow("save all: a minor error offers Write Anyway")
        << false << QList{a, minor} << qsizetype(2) << QString()
        << Report{{},
                  saveTitle,
                  "Saved the changes to 1 file. These files were left unchanged:\n\nn.nef: M\n\n" +
                      anyway,
                  true};
    QTest::newRow("preset: a failure, tags without a place, then stopped")
        << true << QList{bad, bare} << qsizetype(3) << "z.jpg"
        << Report{{},
                  partly,
                  "Applied to 1 item. The rest were left unchanged:\n\nbad.jpg: E2\n\n" + notAll +
                      "\n\nbare.jpg (not written: IPTC:Keywords; not removed: GPS:GPSLatitude)"
                      "\n\nStopped before z.jpg; it was left as it was."};
    QTest::newRow("preset: stopped by the user")
        << true << QList{a} << qsizetype(2) << "b.jpg"
        << Report{"Applied preset 'Strip GPS' to 1 of 2 items. Stopped before b.jpg; it was "
                  "left as it was.",
                  {},
                  {}};
}

void LibraryListsTest::batchTexts()
{
    QFETCH(bool, preset);
    QFETCH(QList<FileOutcome>, files);
    QFETCH(qsizetype, total);
    QFETCH(QString, stoppedBefore);
    QFETCH(BatchReportTexts::Report, expected);
    const BatchRun::Outcome outcome{files, total, stoppedBefore};
    const BatchReportTexts::Report report =
        QByteArray(QTest::currentDataTag()).startsWith("save all")
            ? BatchReportTexts::saveAllReport(outcome)
        : preset ? BatchReportTexts::presetReport("Strip GPS", outcome)
                 : PrivacyReportTexts::proofReport("Everything", outcome);
    QCOMPARE(report.status, expected.status);
    QCOMPARE(report.alertTitle, expected.alertTitle);
    QCOMPARE(report.alertText, expected.alertText);
    QCOMPARE(report.offersWriteAnyway, expected.offersWriteAnyway);
}

void LibraryListsTest::singleFileAndProgressTexts()
{
    using BatchReportTexts::stripFailureReport;
    FileOutcome refused = fileOutcome("c.jpg", "ExifTool reported an error: x");
    refused.error = std::make_exception_ptr(ServiceError::executionFailed("x"));
    QCOMPARE(stripFailureReport(refused),
             (BatchReportTexts::Report{{}, "ExifTool Error", *refused.failure, false}));
    FileOutcome gone = fileOutcome("c.jpg", "The metadata engine of this window has stopped.");
    gone.error = std::make_exception_ptr(PlatformError(*gone.failure));
    QCOMPARE(stripFailureReport(gone).alertTitle,
             QStringLiteral("Metadata Not Removed from c.jpg"));
    // Refused before ExifTool ran: not ExifTool's failure.
    gone.error = std::make_exception_ptr(ServiceError::invalidInput("too long"));
    QCOMPARE(stripFailureReport(gone).alertTitle,
             QStringLiteral("Metadata Not Removed from c.jpg"));

    BatchProgress progress;
    progress.total = 17;
    progress.current = 3;
    progress.currentFileName = "photo.jpg";
    QCOMPARE(BatchReportTexts::progressText(progress),
             QStringLiteral("Removing metadata: 3 of 17 — photo.jpg"));
    progress.kind = BatchProgress::Kind::applyPreset;
    progress.presetName = "Credit";
    QCOMPARE(BatchReportTexts::progressText(progress),
             QStringLiteral("Applying 'Credit': 3 of 17 — photo.jpg"));
    progress.isCancelling = true;
    QCOMPARE(BatchReportTexts::progressText(progress), QStringLiteral("Stopping after photo.jpg…"));
}

void LibraryListsTest::saveStatus_data()
{
    using Kind = TagOutcome::Kind;
    QTest::addColumn<QList<TagOutcome>>("outcomes");
    QTest::addColumn<int>("changed");
    QTest::addColumn<QStringList>("unknown");
    QTest::addColumn<QString>("status");
    const TagOutcome noPlace{"IPTC:Keywords", Kind::notWritten, {}, "no place"};
    const TagOutcome keptOld{"IPTC:City", Kind::notWritten, {"Old"}, "kept"};
    const TagOutcome shortened{"IPTC:ObjectName", Kind::shortened, {"n"}, "cut"};
    const TagOutcome converted{"XMP-exif:FNumber", Kind::converted, {"2.8"}, "2.8"};
    const TagOutcome refused{"ExifIFD:DateTimeOriginal", Kind::refused, {}, "bad date"};
    const TagOutcome unknown{"Captionn", Kind::notWritten, {}, "no place"};
    QTest::newRow("as typed") << QList<TagOutcome>{} << 2 << QStringList()
                              << "Metadata saved successfully.";
    QTest::newRow("normal form") << QList{converted} << 2 << QStringList()
                                 << "Metadata saved. 1 tag was not stored as typed.";
    QTest::newRow("shortened and kept") << QList{shortened, keptOld} << 3 << QStringList()
                                        << "Metadata saved. 2 tags were not stored as typed.";
    QTest::newRow("no place") << QList{noPlace} << 2 << QStringList()
                              << "Some metadata tags are read-only.";
    QTest::newRow("no place and refused") << QList{noPlace, refused} << 3 << QStringList()
                                          << "Some metadata tags are read-only. 1 tag was not "
                                             "stored as typed.";
    QTest::newRow("nothing taken")
        << QList{refused} << 1 << QStringList() << "1 tag was not stored as typed.";
    QTest::newRow("unknown key") << QList{unknown, converted} << 2 << QStringList{"Captionn"}
                                 << "ExifTool doesn't know a tag named Captionn. 1 tag was not "
                                    "stored as typed.";
}

void LibraryListsTest::saveStatus()
{
    QFETCH(QList<TagOutcome>, outcomes);
    QFETCH(int, changed);
    QFETCH(QStringList, unknown);
    QFETCH(QString, status);
    ChangeReport report;
    for (const TagOutcome &outcome : std::as_const(outcomes))
        report.add(outcome);
    QCOMPARE(BatchReportTexts::saveStatus(report, changed, unknown), status);
}

void LibraryListsTest::batchGoesOnPastFailuresUntilStopped()
{
    const auto file = [](const QString &name) {
        return BatchRun::File{QUrl::fromLocalFile("/photos/" + name), "Shown " + name};
    };
    QStringList started;
    QList<qsizetype> finished;
    BatchRun::Hooks hooks;
    hooks.shouldStop = [&started] { return started.size() == 3; };
    hooks.starting = [&started](qsizetype, const BatchRun::File &f) { started << f.name; };
    hooks.finished = [&finished](qsizetype index, const FileOutcome &) { finished << index; };
    const auto run = Testing::runTask(BatchRun::run(
        {file("a.jpg"), file("bad.jpg"), file("c.jpg"), file("d.jpg")}, scriptedChange, hooks));
    QVERIFY(run.succeeded());
    const BatchRun::Outcome &outcome = *run.value;
    QCOMPARE(started, QStringList({"Shown a.jpg", "Shown bad.jpg", "Shown c.jpg"}));
    QCOMPARE(finished, QList<qsizetype>({0, 1, 2}));
    QCOMPARE(outcome.files.size(), 3);
    QCOMPARE(outcome.files.at(1).fileName, QStringLiteral("Shown bad.jpg"));
    QCOMPARE(outcome.files.at(1).failure, std::optional<QString>("refused"));
    QCOMPARE(outcome.succeeded(), 2);
    QVERIFY(outcome.stoppedEarly());
    QCOMPARE(outcome.stoppedBefore, QStringLiteral("Shown d.jpg"));
}

void LibraryListsTest::batchRunsFilesSideBySideInListOrder_data()
{
    QTest::addColumn<int>("lanes");
    QTest::addColumn<int>("mostAtOnce");
    QTest::newRow("one lane") << 1 << 1;
    QTest::newRow("two lanes") << 2 << 2;
    QTest::newRow("more lanes than files") << 8 << 4;
}

void LibraryListsTest::batchRunsFilesSideBySideInListOrder()
{
    QFETCH(int, lanes);
    QFETCH(int, mostAtOnce);
    struct Count {
        int now = 0;
        int most = 0;
    };
    const auto count = std::make_shared<Count>();
    // The first file takes longest: those after it finish first and are
    // still told after it.
    const BatchRun::Operation timed = [count](QUrl url) {
        return [](std::shared_ptr<Count> count, QUrl url) -> QCoro::Task<FileOutcome> {
            count->most = std::max(count->most, ++count->now);
            co_await QCoro::sleepFor(std::chrono::milliseconds(url.fileName() == "a.jpg" ? 80 : 5));
            --count->now;
            FileOutcome outcome;
            outcome.file = url;
            co_return outcome;
        }(count, url);
    };
    QList<BatchRun::File> files;
    for (const QString name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        files.append({QUrl::fromLocalFile("/photos/" + name), name});
    QList<qsizetype> finished;
    BatchRun::Hooks hooks;
    hooks.finished = [&finished](qsizetype index, const FileOutcome &) { finished << index; };
    const auto run = Testing::runTask(BatchRun::run(files, timed, hooks, lanes));
    QVERIFY(run.succeeded());
    QCOMPARE(count->most, mostAtOnce);
    QCOMPARE(finished, QList<qsizetype>({0, 1, 2, 3}));
    QStringList names;
    for (const FileOutcome &file : run.value->files)
        names << file.fileName;
    QCOMPARE(names, QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
}

void LibraryListsTest::importPlanExpandsFoldersAndSkipsOthers()
{
    Testing::TestEnvironment env;
    QDir work(env.workPath());
    QVERIFY(work.mkpath("Trip/inner") && work.mkpath("Empty"));
    for (const char *name :
         {"Trip/b.jpg", "Trip/A.png", "Trip/.hidden.jpg", "Trip/inner/c.jpg", "loose.jpg"})
        touch(work.filePath(QString::fromLatin1(name)));
    const auto url = [&](const QString &relative) {
        return QUrl::fromLocalFile(work.filePath(relative));
    };

    const ImportPlanning::Plan plan =
        ImportPlanning::plan({url("loose.jpg"), QUrl("https://example.org/a.jpg"), url("Trip"),
                              url("Empty"), url("Trip/b.jpg"), url("listed.jpg")},
                             {url("listed.jpg")});
    QCOMPARE(plan.files, QList<QUrl>({url("loose.jpg"), url("Trip/A.png"), url("Trip/b.jpg")}));
    QCOMPARE(plan.emptyFolders, QStringList({"Empty"}));
    QCOMPARE(plan.otherAddresses, 1);
    QCOMPARE(plan.alreadyListed, 1); // the repeated Trip/b.jpg is no listed file
}

void LibraryListsTest::importSummary_data()
{
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("alreadyListed");
    QTest::addColumn<QString>("text");
    QTest::newRow("one") << 1 << 0 << "Added 1 file.";
    QTest::newRow("several") << 5 << 0 << "Added 5 files.";
    QTest::newRow("some listed already") << 3 << 2 << "Added 3 files. 2 were already in the list.";
    QTest::newRow("one listed already") << 2 << 1 << "Added 2 files. 1 was already in the list.";
    QTest::newRow("only a listed one") << 0 << 1 << "The file is already in the list.";
    QTest::newRow("only listed ones") << 0 << 4 << "All 4 files are already in the list.";
    QTest::newRow("nothing") << 0 << 0 << "";
}

void LibraryListsTest::importSummary()
{
    QFETCH(int, added);
    QFETCH(int, alreadyListed);
    QFETCH(QString, text);
    QCOMPARE(ImportPlanning::summary(added, alreadyListed), text);
}

QTEST_MAIN(LibraryListsTest)
#include "tst_LibraryLists.moc"
