// The metadata editor on its own: its model's order and consistency (checked
// by QAbstractItemModelTester), the row marks, and the in-place editors,
// driven with keys under the offscreen platform.
#include "MetaloomFeature/Views/Editor/MetadataEditorModel.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Editor/MetadataRow.h"
#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"
#include "ViewHarness.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

QList<MetadataEntry> entriesFor(const QStringList &keys)
{
    QList<MetadataEntry> entries;
    for (const QString &key : keys)
        entries.append(MetadataEntry(key, QStringLiteral("v")));
    return entries;
}

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

QList<MetadataEntry> withValue(QList<MetadataEntry> entries, qsizetype at, const QString &value)
{
    entries[at].value = value;
    return entries;
}

struct EditorUnderTest {
    QList<MetadataEntry> entries;
    QHash<QString, QList<EnumeratedOption>> options;
    QStringList edits;
    QList<QStringList> itemEdits;
    QList<MetadataEntry> shownRows;
    std::unique_ptr<MetadataEditorView> view;

    explicit EditorUnderTest(QList<MetadataEntry> initial) : entries(std::move(initial))
    {
        MetadataEditorView::Callbacks callbacks;
        callbacks.options = [this](const QString &key) {
            std::optional<QList<EnumeratedOption>> found;
            if (options.contains(key))
                found = options.value(key);
            return found;
        };
        callbacks.rowShown = [this](const MetadataEntry &entry) { shownRows << entry; };
        // Like the library: record the edit and publish the whole list again.
        callbacks.onValueChange = [this](const MetadataEntry &entry, const QString &value) {
            edits << value;
            for (MetadataEntry &listed : entries) {
                if (listed.id == entry.id)
                    listed.value = value;
            }
            view->setEntries(entries);
        };
        callbacks.onItemsChange = [this](const MetadataEntry &entry, const QStringList &items) {
            itemEdits << items;
            for (MetadataEntry &listed : entries) {
                if (listed.id == entry.id)
                    listed.setItems(items);
            }
            view->setEntries(entries);
        };
        view = std::make_unique<MetadataEditorView>(std::move(callbacks));
        view->setEntries(entries);
        view->resize(700, 400);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }

    QWidget *focusRow(const QString &key)
    {
        const QModelIndex row = editorRow(view.get(), key);
        view->setCurrentIndex(row);
        return view->activeEditor();
    }
};

} // namespace

class MetadataEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void displayOrder_data();
    void displayOrder();
    void modelFollowsEditsSearchesAndLoads();
    void rowMarks_data();
    void rowMarks();
    void typingCommitsEveryKeystrokeIntoTheSameEditor();
    void arrowKeysWalkTheRows();
    void listsAreEditedItemByItem();
    void choiceListAppearsWhenOptionsArrive();
    void optionLookupsOnlyForRowsInView();
};

void MetadataEditorTest::displayOrder_data()
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

void MetadataEditorTest::displayOrder()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, expected);
    MetadataEditorModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setEntries(entriesFor(keys));
    QCOMPARE(shown(model), expected);
}

void MetadataEditorTest::modelFollowsEditsSearchesAndLoads()
{
    MetadataEditorModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QList<MetadataEntry> file = entriesFor(
        {"EXIF:Make", "EXIF:Model", "GPS:GPSLatitude", "XMP-dc:Creator", "XMP-dc:Title"});
    model.setEntries(file);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    // An edit: the same ids again, one value different.
    model.setEntries(withValue(file, 4, QStringLiteral("Harbour")));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex(), model.indexOf(file.at(4).id));
    QCOMPARE(model.indexOf(file.at(4).id).data(Qt::EditRole).toString(), QStringLiteral("Harbour"));
    QVERIFY(model.indexOf(file.at(4).id).data(MetadataEditorModel::ModifiedRole).toBool());

    // A search and its end: rows go and come back, nothing is reset.
    model.setEntries({file.at(1), file.at(3)});
    QCOMPARE(shown(model), QStringLiteral("EXIF[Model] XMP-dc[Creator]"));
    model.setEntries(withValue(file, 4, QStringLiteral("Harbour")));
    QCOMPARE(shown(model),
             QStringLiteral("EXIF[Make,Model] GPS[GPSLatitude] XMP-dc[Creator,Title]"));
    QCOMPARE(resets.size(), 0);
    QVERIFY(!removed.isEmpty());
    QVERIFY(!inserted.isEmpty());

    // Another file (new ids): one reset.
    model.setEntries(entriesFor({"PNG:ImageWidth"}));
    QCOMPARE(resets.size(), 1);
    QCOMPARE(shown(model), QStringLiteral("PNG[ImageWidth]"));
    model.setEntries({});
    QCOMPARE(model.rowCount(), 0);
}

void MetadataEditorTest::rowMarks_data()
{
    QTest::addColumn<bool>("hasWarning");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("favorite");
    QTest::addColumn<bool>("defaultFavorite");
    QTest::addColumn<QString>("badge");
    QTest::addColumn<QString>("starHelp");
    QTest::newRow("warning first") << true << true << true << false << false
                                   << QStringLiteral("Can't write") << "Add to favorites";
    QTest::newRow("read-only before modified")
        << false << true << true << true << false << QStringLiteral("Read-only")
        << "Remove from favorites";
    QTest::newRow("modified") << false << false << true << false << false
                              << QStringLiteral("Modified") << "Add to favorites";
    QTest::newRow("plain default favorite")
        << false << false << false << false << true << QString() << "Standard field";
}

void MetadataEditorTest::rowMarks()
{
    QFETCH(bool, hasWarning);
    QFETCH(bool, readOnly);
    QFETCH(bool, modified);
    QFETCH(bool, favorite);
    QFETCH(bool, defaultFavorite);
    QFETCH(QString, badge);
    QFETCH(QString, starHelp);
    MetadataEntry entry(QStringLiteral("XMP-dc:Title"), QStringLiteral("a"));
    if (hasWarning)
        entry.warning = QStringLiteral("Can't write");
    entry.forceReadOnly = readOnly;
    if (modified)
        entry.value = QStringLiteral("b");
    entry.isFavorite = favorite;
    entry.isDefaultFavorite = defaultFavorite;
    const auto shownBadge = MetadataRow::badge(entry);
    QCOMPARE(shownBadge ? shownBadge->text : QString(), badge);
    QCOMPARE(MetadataRow::starHelpText(entry), starHelp);
    QCOMPARE(MetadataRow::isStarEnabled(entry), !defaultFavorite);
    QCOMPARE(MetadataRow::starSymbol(entry), favorite ? QString("star.fill") : QString("star"));
}

void MetadataEditorTest::typingCommitsEveryKeystrokeIntoTheSameEditor()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make", "XMP-dc:Title"}));
    QPointer<QWidget> field = editor.focusRow(QStringLiteral("XMP-dc:Title"));
    QVERIFY(qobject_cast<ValueTextEditor *>(field));
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, QStringLiteral("abc"));
    QCOMPARE(editor.edits, QStringList({"va", "vab", "vabc"}));
    // Each edit came back as a whole new list; the editor stayed open.
    QCOMPARE(editor.view->activeEditor(), field.data());
    QCOMPARE(static_cast<ValueTextEditor *>(field.data())->text(), QStringLiteral("vabc"));

    // A value changed elsewhere (Revert) shows in the open editor, no edit sent.
    editor.entries = withValue(editor.entries, 1, QStringLiteral("v"));
    editor.view->setEntries(editor.entries);
    QCOMPARE(static_cast<ValueTextEditor *>(field.data())->text(), QStringLiteral("v"));
    QCOMPARE(editor.edits.size(), 3);
}

void MetadataEditorTest::arrowKeysWalkTheRows()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make", "EXIF:Model", "XMP-dc:Title"}));
    QWidget *field = editor.focusRow(QStringLiteral("EXIF:Make"));
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(editor.view->currentIndex().data(MetadataEditorModel::RawKeyRole).toString(),
             QStringLiteral("EXIF:Model"));
    // Past the section header to the next group's row.
    QTest::keyClick(editor.view->activeEditor(), Qt::Key_Down);
    QCOMPARE(editor.view->currentIndex().data(MetadataEditorModel::RawKeyRole).toString(),
             QStringLiteral("XMP-dc:Title"));
    QTest::keyClick(editor.view->activeEditor(), Qt::Key_Up);
    QCOMPARE(editor.view->currentIndex().data(MetadataEditorModel::RawKeyRole).toString(),
             QStringLiteral("EXIF:Model"));
    QVERIFY(editor.edits.isEmpty());
}

void MetadataEditorTest::listsAreEditedItemByItem()
{
    QList<MetadataEntry> entries = entriesFor({"XMP-dc:Title"});
    entries << MetadataEntry::listEntry("IPTC:Keywords", {"sea", "boats, pier"});
    EditorUnderTest editor(entries);
    editor.options.insert("IPTC:Keywords", {{"a", "A"}}); // a list never gets a choice list
    const QModelIndex row = editorRow(editor.view.get(), "IPTC:Keywords");
    QVERIFY(row.data(MetadataEditorModel::IsListRole).toBool());
    QVERIFY(!row.data(MetadataEditorModel::ShowsPickerRole).toBool());
    QCOMPARE(row.data(Qt::EditRole).toStringList(), QStringList({"sea", "boats, pier"}));

    // Shown one item per line, each after a bullet, and a line for the next.
    QCOMPARE(MetadataRow::shownText(entries.last()), QStringLiteral("• sea\n• boats, pier"));
    const MetadataRow::Fonts fonts(editor.view->font());
    const int plain = MetadataRow::entryRowHeight(entries.first(), false, fonts, 600);
    const int lineHeight = QFontMetrics(fonts.value).lineSpacing();
    QCOMPARE(MetadataRow::entryRowHeight(entries.last(), false, fonts, 600),
             plain + 2 * lineHeight);
    MetadataEntry readOnly = entries.last();
    readOnly.forceReadOnly = true;
    QCOMPARE(MetadataRow::entryRowHeight(readOnly, false, fonts, 600), plain + lineHeight);

    auto *field = qobject_cast<ValueListEditor *>(editor.focusRow("IPTC:Keywords"));
    QVERIFY(field);
    QCOMPARE(field->text(), QStringLiteral("sea\nboats, pier"));
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return); // a new, empty item: nothing to send yet
    QVERIFY(editor.itemEdits.isEmpty());
    QTest::keyClicks(field, QStringLiteral("x"));
    QCOMPARE(editor.itemEdits, QList<QStringList>({{"sea", "boats, pier", "x"}}));
    QCOMPARE(editor.view->activeEditor(), field);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("sea\nboats, pier\nx\n")); // the line being typed stays
    QTest::keyClick(field, Qt::Key_Return);                           // on the empty line: done
    QTRY_VERIFY(!editor.view->activeEditor());
    QCOMPARE(editor.itemEdits.size(), 1);
    QVERIFY(editor.edits.isEmpty()); // never sent as one text
}

void MetadataEditorTest::choiceListAppearsWhenOptionsArrive()
{
    QList<MetadataEntry> entries = entriesFor({"ExifIFD:MeteringMode", "ExifIFD:Flash"});
    entries[1].forceReadOnly = true;
    EditorUnderTest editor(entries);
    QVERIFY(
        qobject_cast<ValueTextEditor *>(editor.focusRow(QStringLiteral("ExifIFD:MeteringMode"))));

    const QList<EnumeratedOption> modes{{"1", "Average"}, {"3", "Spot"}};
    editor.options.insert(QStringLiteral("ExifIFD:MeteringMode"), modes);
    editor.options.insert(QStringLiteral("ExifIFD:Flash"), modes);
    editor.view->optionsDidChange(QStringLiteral("ExifIFD:MeteringMode"));
    editor.view->optionsDidChange(QStringLiteral("ExifIFD:Flash"));

    auto *choice = qobject_cast<ValueChoiceEditor *>(editor.view->activeEditor());
    QVERIFY(choice);
    QCOMPARE(choice->labels(), QStringList({"Average", "Spot"}));
    QCOMPARE(choice->currentIndex(), -1); // "v" is none of them
    Q_EMIT choice->activated(1);
    QCOMPARE(editor.edits, QStringList({"Spot"}));
    // Arrow keys leave the value alone and move on.
    QTest::keyClick(editor.view->activeEditor(), Qt::Key_Up);
    QCOMPARE(editor.edits.size(), 1);
    // A read-only tag keeps its text field (disabled) even with options.
    const QModelIndex flash = editorRow(editor.view.get(), QStringLiteral("ExifIFD:Flash"));
    QVERIFY(!flash.data(MetadataEditorModel::ShowsPickerRole).toBool());
    QVERIFY(!(flash.flags() & Qt::ItemIsEditable));
}

void MetadataEditorTest::optionLookupsOnlyForRowsInView()
{
    QStringList keys;
    for (int i = 0; i < 2000; ++i)
        keys << QStringLiteral("Group%1:Tag%2")
                    .arg(i / 50, 2, 10, QLatin1Char('0'))
                    .arg(i, 4, 10, QLatin1Char('0'));
    EditorUnderTest editor(entriesFor(keys));
    QTRY_VERIFY(!editor.shownRows.isEmpty());
    const qsizetype firstScreen = editor.shownRows.size();
    QVERIFY2(firstScreen < 20, qPrintable(QString::number(firstScreen)));
    QCOMPARE(editor.shownRows.first().rawKey, QStringLiteral("Group00:Tag0000"));

    editor.view->verticalScrollBar()->setValue(editor.view->verticalScrollBar()->maximum());
    QTRY_COMPARE(editor.shownRows.last().rawKey, QStringLiteral("Group39:Tag1999"));
    QVERIFY(editor.shownRows.size() < 2 * firstScreen + 5);
}

QTEST_MAIN(MetadataEditorTest)
#include "tst_MetadataEditor.moc"
