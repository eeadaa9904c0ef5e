// The editor's entry tree on its own, over a stand-in for the library: its
// order, how it follows loads, searches and edits (checked throughout by
// QAbstractItemModelTester), and what it hands back to its source.
#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"
#include "tests/support/EntryListSource.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

// "Group[tag,tag] Group[tag]" as the model shows it.
QString shown(const QAbstractItemModel &model)
{
    QStringList sections;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex section = model.index(row, 0);
        QStringList tags;
        for (int child = 0; child < model.rowCount(section); ++child)
            tags << model.index(child, 0, section).data().toString();
        sections << section.data().toString() + u'[' + tags.join(u',') + u']';
    }
    return sections.join(u' ');
}

// The rows each dataChanged named, by key.
QStringList changedKeys(const QSignalSpy &changed)
{
    QStringList keys;
    for (const QList<QVariant> &signal : changed) {
        const QModelIndex top = signal.at(0).toModelIndex();
        const QModelIndex bottom = signal.at(1).toModelIndex();
        for (int row = top.row(); row <= bottom.row(); ++row)
            keys << top.siblingAtRow(row).data(EntryTreeModel::RawKeyRole).toString();
    }
    return keys;
}

} // namespace

class EntryTreeModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void displayOrder_data();
    void displayOrder();
    void followsLoadsSearchesAndEdits();
    void oneEditRedrawsOneRow();
    void handsEditsAndStarsToItsSource();
    void rowsOfAnEntryGoneShowNothing();
};

void EntryTreeModelTest::displayOrder_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << QStringList() << QString();
    QTest::newRow("groups by name, each as spelled")
        << QStringList{"XMP-dc:Title", "EXIF:Make"} << QStringLiteral("EXIF[Make] XMP-dc[Title]");
    QTest::newRow("capitals before small letters")
        << QStringList{"IFD0:aperture", "IFD0:ISO", "IFD0:Artist"}
        << QStringLiteral("IFD0[Artist,ISO,aperture]");
    QTest::newRow("group names compared plainly") << QStringList{"xmp:A", "XMP:B", "Composite:C"}
                                                  << QStringLiteral("Composite[C] XMP[B] xmp[A]");
    QTest::newRow("a key without a group") << QStringList{"FileName", "ExifIFD:ISO"}
                                           << QStringLiteral("ExifIFD[ISO] General[FileName]");
}

void EntryTreeModelTest::displayOrder()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, expected);
    EntryListSource source;
    QAbstractItemModelTester tester(&source.tree,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    source.publish(entriesFor(keys));
    QCOMPARE(shown(source.tree), expected);
}

void EntryTreeModelTest::followsLoadsSearchesAndEdits()
{
    EntryListSource source;
    QAbstractItemModelTester tester(&source.tree,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QList<MetadataEntry> file = entriesFor(
        {"EXIF:Make", "EXIF:Model", "GPS:GPSLatitude", "XMP-dc:Creator", "XMP-dc:Title"});
    source.publish(file);
    QSignalSpy resets(&source.tree, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&source.tree, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&source.tree, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&source.tree, &QAbstractItemModel::dataChanged);

    // A change of several entries (a revert): the same ids, the changed rows redrawn.
    source.publish(withValue(withValue(file, 4, QStringLiteral("Harbour")), 0, "Canon"));
    QCOMPARE(changedKeys(changed), QStringList({"EXIF:Make", "XMP-dc:Title"}));
    const QModelIndex title = source.tree.indexOf(QStringLiteral("XMP-dc:Title"));
    QCOMPARE(title.data(Qt::EditRole).toString(), QStringLiteral("Harbour"));
    QVERIFY(title.data(EntryTreeModel::ModifiedRole).toBool());

    // A search and its end: rows go and come back, nothing is reset, and
    // rows that stayed as they were are not redrawn.
    changed.clear();
    source.publish({source.entries.at(1), source.entries.at(3)});
    QCOMPARE(shown(source.tree), QStringLiteral("EXIF[Model] XMP-dc[Creator]"));
    source.publish(withValue(withValue(file, 4, QStringLiteral("Harbour")), 0, "Canon"));
    QCOMPARE(shown(source.tree),
             QStringLiteral("EXIF[Make,Model] GPS[GPSLatitude] XMP-dc[Creator,Title]"));
    QCOMPARE(resets.size(), 0);
    QVERIFY(!removed.isEmpty());
    QVERIFY(!inserted.isEmpty());
    QCOMPARE(changed.size(), 0);

    // Another file (new ids): one reset.
    source.publish(entriesFor({"PNG:ImageWidth"}));
    QCOMPARE(resets.size(), 1);
    QCOMPARE(shown(source.tree), QStringLiteral("PNG[ImageWidth]"));
    source.publish({});
    QCOMPARE(source.tree.rowCount(), 0);
}

void EntryTreeModelTest::oneEditRedrawsOneRow()
{
    EntryListSource source;
    QAbstractItemModelTester tester(&source.tree,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    source.publish(entriesFor({"EXIF:Make", "EXIF:Model", "XMP-dc:Title"}));
    QSignalSpy changed(&source.tree, &QAbstractItemModel::dataChanged);
    QSignalSpy structure(&source.tree, &QAbstractItemModel::layoutChanged);
    const QModelIndex model = source.tree.indexOf(QStringLiteral("EXIF:Model"));
    QVERIFY(source.tree.setData(model, QStringLiteral("EOS")));
    QCOMPARE(source.edits, QStringList({"EOS"}));
    QCOMPARE(changedKeys(changed), QStringList({"EXIF:Model"}));
    QCOMPARE(model.data(Qt::EditRole).toString(), QStringLiteral("EOS"));
    QCOMPARE(structure.size(), 0);

    // Permitted values that arrive redraw their row and say which roles.
    changed.clear();
    source.options.insert(QStringLiteral("EXIF:Make"), {{"1", "One"}});
    source.tree.optionsDidChange(QStringLiteral("EXIF:Make"));
    QCOMPARE(changedKeys(changed), QStringList({"EXIF:Make"}));
    QCOMPARE(changed.first().at(2).value<QList<int>>(),
             QList<int>({EntryTreeModel::OptionsRole, EntryTreeModel::ShowsPickerRole}));
    QCOMPARE(source.tree.indexOf("EXIF:Make").data(EntryTreeModel::OptionsRole).toStringList(),
             QStringList({"One"}));
    QVERIFY(source.tree.indexOf("EXIF:Make").data(EntryTreeModel::ShowsPickerRole).toBool());
    // A key not shown changes nothing.
    source.tree.entryDidChange(QStringLiteral("IPTC:City"));
    QCOMPARE(changed.size(), 1);
}

void EntryTreeModelTest::handsEditsAndStarsToItsSource()
{
    QList<MetadataEntry> entries = entriesFor({"XMP-dc:Title", "EXIF:Make"});
    entries << MetadataEntry::listEntry("IPTC:Keywords", {"sea"});
    entries[1].forceReadOnly = true;
    EntryListSource source(entries);
    const QModelIndex keywords = source.tree.indexOf(QStringLiteral("IPTC:Keywords"));
    QVERIFY(keywords.data(EntryTreeModel::IsListRole).toBool());
    QVERIFY(source.tree.setData(keywords, QStringList{"sea", "pier"}));
    QCOMPARE(source.itemEdits, QList<QStringList>({{"sea", "pier"}}));
    QCOMPARE(keywords.data(Qt::EditRole).toStringList(), QStringList({"sea", "pier"}));

    const QModelIndex make = source.tree.indexOf(QStringLiteral("EXIF:Make"));
    QVERIFY(!(make.flags() & Qt::ItemIsEditable));
    QVERIFY(!make.data(EntryTreeModel::WritableRole).toBool());
    QVERIFY(source.tree.flags(keywords) & Qt::ItemIsEditable);

    // The star: only a change of the pin is handed on.
    const QModelIndex title = source.tree.indexOf(QStringLiteral("XMP-dc:Title"));
    QVERIFY(!source.tree.setData(title, false, EntryTreeModel::FavoriteRole));
    QVERIFY(source.tree.setData(title, true, EntryTreeModel::FavoriteRole));
    QCOMPARE(source.toggledFavorites, QStringList({"XMP-dc:Title"}));
    QVERIFY(!source.tree.setData(title, true, EntryTreeModel::WarningRole));

    source.tree.rowCameIntoView(title);
    source.tree.rowCameIntoView(source.tree.index(0, 0)); // a section: no entry
    QCOMPARE(source.keysCameIntoView, QStringList({"XMP-dc:Title"}));
}

void EntryTreeModelTest::rowsOfAnEntryGoneShowNothing()
{
    // The source already shows another file with the same key while the
    // tree still has the old row: the row reads as empty, not as the new
    // file's entry, and takes no edit.
    EntryListSource source(entriesFor({"XMP-dc:Title"}));
    const QModelIndex title = source.tree.indexOf(QStringLiteral("XMP-dc:Title"));
    source.entries = entriesFor({"XMP-dc:Title"});
    QVERIFY(!title.data(Qt::DisplayRole).isValid());
    QCOMPARE(source.tree.flags(title), Qt::NoItemFlags);
    QVERIFY(!source.tree.setData(title, QStringLiteral("x")));
    QVERIFY(source.edits.isEmpty());
}

QTEST_MAIN(EntryTreeModelTest)
#include "tst_EntryTreeModel.moc"
