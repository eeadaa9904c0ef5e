// The shared tag list of several files: one row per key, the agreed value or
// the mixed one with its counts, how many files hold the key, and read-only
// when any file cannot write it.

#include "MetaloomFeature/Library/Selection/ItemSelection.h"
#include "MetaloomFeature/Library/Selection/SelectionExport.h"
#include "MetaloomFeature/Library/Selection/SharedTagList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

using namespace Metaloom;

namespace {

// "key=value" per entry, files separated by "|"; "!" before the key marks
// the entry read-only.
QList<SharedTagList::FileTags> filesOf(const QString &text)
{
    QList<SharedTagList::FileTags> files;
    int number = 0;
    for (const QString &file : text.split(QLatin1Char('|'))) {
        SharedTagList::FileTags tags;
        tags.itemID = QUuid::createUuid();
        tags.fileName = QStringLiteral("f%1.jpg").arg(++number);
        for (const QString &pair : file.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            QString key = pair.section(QLatin1Char('='), 0, 0);
            const bool readOnly = key.startsWith(QLatin1Char('!'));
            if (readOnly)
                key.remove(0, 1);
            MetadataEntry entry(key, pair.section(QLatin1Char('='), 1));
            if (readOnly) {
                entry.forceReadOnly = true;
                entry.warning = QStringLiteral("Not writable here");
            }
            tags.entries.append(entry);
        }
        files.append(tags);
    }
    return files;
}

} // namespace

class SharedTagListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void oneRowPerKey_data();
    void oneRowPerKey();
    void extraKeysComeLastAndEmpty();
    void typeSummaryCountsEachType();
    void exportOfSeveralFiles_data();
    void exportOfSeveralFiles();
};

void SharedTagListTest::oneRowPerKey_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("shownValue");
    QTest::addColumn<bool>("mixed");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("presence");
    QTest::addColumn<QString>("readOnly");
    QTest::newRow("agreeing") << "T=a|T=a|T=a"
                              << "a" << false << ""
                              << ""
                              << "";
    QTest::newRow("mixed") << "T=a|T=b|T=a"
                           << "" << true << "a — 2 files\nb — 1 file"
                           << ""
                           << "";
    QTest::newRow("partly present") << "T=a|X=1|T=a"
                                    << "a" << false << ""
                                    << "in 2 of 3 files"
                                    << "";
    QTest::newRow("mixed and partly present") << "T=a|T=b|X=1"
                                              << "" << true << "a — 1 file\nb — 1 file"
                                              << "in 2 of 3 files"
                                              << "";
    QTest::newRow("read-only in one file") << "T=a|!T=a|T=a"
                                           << "a" << false << ""
                                           << ""
                                           << "Read-only in f2.jpg: Not writable here";
    QTest::newRow("read-only wherever held") << "!T=a|X=1|!T=a"
                                             << "a" << false << ""
                                             << "in 2 of 3 files"
                                             << "Not writable here";
}

void SharedTagListTest::oneRowPerKey()
{
    QFETCH(QString, files);
    QFETCH(QString, shownValue);
    QFETCH(bool, mixed);
    QFETCH(QString, tooltip);
    QFETCH(QString, presence);
    QFETCH(QString, readOnly);
    const QList<SharedTagList::Row> rows = SharedTagList::compute(filesOf(files));
    const auto row = std::find_if(rows.cbegin(), rows.cend(), [](const SharedTagList::Row &r) {
        return r.entry.rawKey == QStringLiteral("T");
    });
    QVERIFY(row != rows.cend());
    // Each key once, in the order the keys first occur.
    QCOMPARE(std::count_if(rows.cbegin(), rows.cend(),
                           [](const auto &r) { return r.entry.rawKey == QStringLiteral("T"); }),
             1);
    QCOMPARE(rows.first().entry.rawKey, QStringLiteral("T"));
    QCOMPARE(row->entry.value, shownValue);
    QCOMPARE(row->mixed, mixed);
    QCOMPARE(row->fileCount, 3);
    QCOMPARE(row->entry.isWritable(), readOnly.isEmpty());
    if (mixed)
        QCOMPARE(SharedTagList::mixedValuesTooltip(*row), tooltip);
    QCOMPARE(SharedTagList::presenceNote(*row), presence);
    QCOMPARE(SharedTagList::readOnlyNote(*row), readOnly);
}

void SharedTagListTest::extraKeysComeLastAndEmpty()
{
    const QList<SharedTagList::Row> rows = SharedTagList::compute(filesOf("T=a|T=a"), {"P", "T"});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).entry.rawKey, QStringLiteral("T"));
    QCOMPARE(rows.at(1).entry.rawKey, QStringLiteral("P"));
    QCOMPARE(rows.at(1).presentIn, 0);
    QCOMPARE(SharedTagList::presenceNote(rows.at(1)), QStringLiteral("in 0 of 2 files"));
}

void SharedTagListTest::typeSummaryCountsEachType()
{
    QList<MediaItem> items;
    for (const char *name : {"a.jpg", "b.cr2", "c.jpg", "d.jpg", "e.cr2"})
        items.append(MediaItem(QUrl::fromLocalFile(QStringLiteral("/x/") + QLatin1String(name))));
    QCOMPARE(ItemSelection::typeSummary(items), QStringLiteral("3 JPG, 2 CR2"));
    QCOMPARE(ItemSelection::countText(5), QStringLiteral("5 files selected"));
    // The order of the list, whatever order the ids came in.
    QCOMPARE(
        ItemSelection::inListOrder({items.at(3).id, items.at(0).id, QUuid::createUuid()}, items),
        (QList<QUuid>{items.at(0).id, items.at(3).id}));
}

void SharedTagListTest::exportOfSeveralFiles_data()
{
    using Format = MetadataExportFormatter::Format;
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("expected");
    // A name with a quote and a line break stays one key or table name.
    QTest::newRow("JSON: an array of objects, each naming its file")
        << Format::Json
        << "[\n  {\n    \"EXIF:Make\" : \"Canon\",\n    \"SourceFile\" : \"\\/a\\/x.jpg\"\n  },\n"
           "  {\n    \"SourceFile\" : \"\\/b\\/\\\"y\\n.jpg\"\n  }\n]";
    QTest::newRow("YAML: one document per file")
        << Format::Yaml << "---\n\"EXIF:Make\": \"Canon\"\n---\n";
    QTest::newRow("TOML: one table per file, the comment once")
        << Format::Toml
        << "# Metaloom metadata export\n\n[\"/a/x.jpg\"]\n\"EXIF:Make\" = \"Canon\"\n\n"
           "[\"/b/\\\"y\\n.jpg\"]\n";
}

void SharedTagListTest::exportOfSeveralFiles()
{
    QFETCH(MetadataExportFormatter::Format, format);
    QFETCH(QString, expected);
    const QList<SelectionExport::FileEntries> files{
        {"/a/x.jpg", {MetadataEntry("EXIF:Make", "Canon")}}, {"/b/\"y\n.jpg", {}}};
    const QString text = SelectionExport::string(files, format);
    QCOMPARE(text, expected);
    if (format == MetadataExportFormatter::Format::Json) {
        QJsonParseError error;
        const QJsonDocument parsed = QJsonDocument::fromJson(text.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(parsed.array().at(1).toObject().value("SourceFile").toString(),
                 QStringLiteral("/b/\"y\n.jpg"));
    }
}

QTEST_GUILESS_MAIN(SharedTagListTest)
#include "tst_SharedTagList.moc"
