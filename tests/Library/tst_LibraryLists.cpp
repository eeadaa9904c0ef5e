// The library's pure parts: merging, ordering and filtering the entry list,
// marks from ExifTool's answers, the batch report texts and import planning.

#include "MetaloomFeature/Library/BatchReportTexts.h"
#include "MetaloomFeature/Library/EntryListMerge.h"
#include "MetaloomFeature/Library/EntryMarks.h"
#include "MetaloomFeature/Library/ImportPlanning.h"
#include "MetaloomFeature/Library/SearchFilter.h"
#include "tests/support/TestEnvironment.h"

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
    void editsCarriedAcrossARead();
    void batchTexts_data();
    void batchTexts();
    void importPlanExpandsFoldersAndSkipsOthers();
};

void LibraryListsTest::mergeAddsPlaceholdersMarksAndSorts()
{
    QList<MetadataEntry> entries{entry("XMP-dc:Title", "Sunset"), entry("ExifIFD:ISO", "100"),
                                 entry("ExifIFD:aperture", "2.8"), entry("IFD0:Empty", "")};
    const EntryListMerge::FieldSettings settings{
        {"IFD0:Make", "ExifIFD:ISO"},
        {{QUuid::createUuid(), "XMP-dc:Caption", "My Caption"},
         {QUuid::createUuid(), "XMP-dc:Caption", "Second"},
         {QUuid::createUuid(), "XMP-dc:Rights_Holder", ""}},
        {"IFD0:Make"}};
    EntryListMerge::mergeFieldSettings(entries, settings);

    // The empty, unpinned tag is gone; groups and tags sort case-insensitively
    // (a small "a" before a capital "I"); one placeholder per custom key.
    QCOMPARE(keysOf(entries),
             QStringList({"ExifIFD:aperture", "ExifIFD:ISO", "IFD0:Make", "XMP-dc:Caption",
                          "XMP-dc:Rights_Holder", "XMP-dc:Title"}));
    const MetadataEntry *make = find(entries, "IFD0:Make");
    QVERIFY(make->isFavorite && make->isDefaultFavorite && make->value.isEmpty());
    QCOMPARE(make->displayName, QStringLiteral("Make"));
    QCOMPARE(find(entries, "XMP-dc:Caption")->displayName, QStringLiteral("My Caption"));
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
}

void LibraryListsTest::searchMatchesKeyOrValue()
{
    QFETCH(QString, search);
    QFETCH(QStringList, expected);
    const QList<MetadataEntry> entries{
        entry("IFD0:Make", "NIKON CORPORATION"), entry("IFD0:Model", "D750"),
        MetadataEntry("XMP-dc:Title", "Sea", QStringLiteral("Headline"))};
    QCOMPARE(keysOf(SearchFilter::filter(entries, search)), expected);
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

    // The tag name alone matches too (both Title rows); an empty tag never does.
    const QString error = QStringLiteral("Can't write Title");
    QCOMPARE(EntryMarks::markWriteFailure(entries, error), 2);
    QCOMPARE(entries[0].warning, std::optional(error));
    QVERIFY(!entries[0].isWritable() && !entries[3].forceReadOnly);

    QCOMPARE(EntryMarks::markNotWritten(entries, {{"IFD0:Make", "typed"}}), 1);
    QCOMPARE(entries[2].value, QStringLiteral("typed"));
    QCOMPARE(entries[2].warning, std::optional(EntryMarks::noPlaceWarning));
    QVERIFY(!entries[2].isWritable());
}

void LibraryListsTest::editsCarriedAcrossARead()
{
    QList<MetadataEntry> before{entry("XMP-dc:Title", "sent"), entry("IFD0:Make", "x")};
    QHash<QUuid, QString> sent;
    for (const MetadataEntry &e : before)
        sent.insert(e.id, e.value);
    before[1].value = QStringLiteral("typed meanwhile");
    const QHash<QString, QString> edits = EntryMarks::editsSince(before, sent);
    QCOMPARE(edits, (QHash<QString, QString>{{"IFD0:Make", "typed meanwhile"}}));

    QList<MetadataEntry> reread{entry("XMP-dc:Title", "sent"), entry("IFD0:Make", "x")};
    QCOMPARE(EntryMarks::applyEdits(reread, edits), 1);
    QCOMPARE(reread[1].value, QStringLiteral("typed meanwhile"));
    QVERIFY(reread[1].isModified());
}

void LibraryListsTest::batchTexts_data()
{
    using BatchReportTexts::IncompleteFile;
    QTest::addColumn<qsizetype>("succeeded");
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<QList<IncompleteFile>>("incomplete");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("alert");

    const QList<IncompleteFile> none;
    const QList<IncompleteFile> mov{
        {"clip.mov", ChangeReport{{"IPTC:Keywords"}, {"GPS:GPSLatitude"}, {}}}};
    const QString movSection = QStringLiteral(
        "These files have no place for some of the preset's tags, which were left as they "
        "were:\n\nclip.mov (not written: IPTC:Keywords; not removed: GPS:GPSLatitude)");
    QTest::newRow("all, plural") << qsizetype(2) << QStringList() << none
                                 << "Applied preset 'Strip GPS' to 2 items." << QString();
    QTest::newRow("one item") << qsizetype(1) << QStringList() << none
                              << "Applied preset 'Strip GPS' to 1 item." << QString();
    QTest::newRow("second of three fails")
        << qsizetype(2) << QStringList({"E2"}) << none << QString()
        << "Applied to 2 items. The rest were left unchanged:\n\nE2";
    QTest::newRow("all fail") << qsizetype(0) << QStringList({"E1", "E2"}) << none << QString()
                              << "E1\n\nE2";
    QTest::newRow("tags that did not land")
        << qsizetype(1) << QStringList() << mov << QString()
        << "Applied preset 'Strip GPS' to 1 item.\n\n" + movSection;
    QTest::newRow("failure and tags that did not land")
        << qsizetype(1) << QStringList({"E2"}) << mov << QString()
        << "Applied to 1 item. The rest were left unchanged:\n\nE2\n\n" + movSection;
}

void LibraryListsTest::batchTexts()
{
    QFETCH(qsizetype, succeeded);
    QFETCH(QStringList, failures);
    QFETCH(QList<BatchReportTexts::IncompleteFile>, incomplete);
    QFETCH(QString, status);
    QFETCH(QString, alert);
    const BatchReportTexts::PresetOutcome outcome{"Strip GPS", succeeded, failures, incomplete};
    QCOMPARE(BatchReportTexts::presetStatus(outcome).value_or(QString()), status);
    QCOMPARE(BatchReportTexts::presetAlert(outcome).value_or(QString()), alert);
    QCOMPARE(BatchReportTexts::removedFromItems(1),
             QStringLiteral("Removed all metadata from 1 item."));
    QCOMPARE(BatchReportTexts::removedFromItems(3),
             QStringLiteral("Removed all metadata from 3 items."));
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
}

QTEST_MAIN(LibraryListsTest)
#include "tst_LibraryLists.moc"
