// The metadata editor on its own, over an entry tree whose source stands in
// for the library: the row marks and heights as the cards read them from
// the model's roles, and the in-place editors, driven with keys under the
// offscreen platform.
#include "MetaloomFeature/Views/Editor/EntryCardLayout.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"
#include "ViewHarness.h"
#include "tests/support/EntryListSource.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

// The editor over a source that, like the library, takes each edit into
// its list and redraws that one row.
struct EditorUnderTest {
    EntryListSource source;
    QAbstractItemModelTester tester{&source.tree,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest};
    std::unique_ptr<MetadataEditorView> view;

    explicit EditorUnderTest(QList<MetadataEntry> initial)
    {
        source.publish(std::move(initial));
        view = std::make_unique<MetadataEditorView>(&source.tree);
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

    // The card of a key's row, as the delegate reads it.
    EntryCard cardOf(const QString &key) const { return EntryCard::at(source.tree.indexOf(key)); }
};

} // namespace

class MetadataEditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowMarks_data();
    void rowMarks();
    void starClicksChangeThePinThroughTheModel();
    void typingCommitsEveryKeystrokeIntoTheSameEditor();
    void arrowKeysWalkTheRows();
    void listsAreEditedItemByItem();
    void rowHeightsReadWhatTheyDependOn();
    void choiceListAppearsWhenOptionsArrive();
    void optionLookupsOnlyForRowsInView();
};

void MetadataEditorTest::rowMarks_data()
{
    QTest::addColumn<bool>("hasWarning");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("checking");
    QTest::addColumn<bool>("favorite");
    QTest::addColumn<bool>("defaultFavorite");
    QTest::addColumn<QString>("badge");
    QTest::addColumn<QString>("starHelp");
    QTest::newRow("warning first") << true << true << true << true << false << false
                                   << QStringLiteral("Can't write") << "Add to favorites";
    QTest::newRow("read-only before modified")
        << false << true << true << true << true << false << QStringLiteral("Read-only")
        << "Remove from favorites";
    QTest::newRow("checking before modified") << false << false << true << true << false << false
                                              << QStringLiteral("Checking…") << "Add to favorites";
    QTest::newRow("modified") << false << false << true << false << false << false
                              << QStringLiteral("Modified") << "Add to favorites";
    QTest::newRow("plain default favorite")
        << false << false << false << false << false << true << QString() << "Standard field";
}

void MetadataEditorTest::rowMarks()
{
    QFETCH(bool, hasWarning);
    QFETCH(bool, readOnly);
    QFETCH(bool, modified);
    QFETCH(bool, checking);
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
    EntryListSource source({entry});
    if (checking)
        source.checking.insert(entry.rawKey);
    const EntryCard card = EntryCard::at(source.tree.indexOf(entry.rawKey));
    QCOMPARE(card.isChecking, checking);
    QCOMPARE(card.rawKey, entry.rawKey);
    QCOMPARE(card.name, QStringLiteral("Title"));
    QCOMPARE(card.value, entry.value);
    const auto shownBadge = EntryCardLayout::badge(card);
    QCOMPARE(shownBadge ? shownBadge->text : QString(), badge);
    QCOMPARE(EntryCardLayout::starHelpText(card), starHelp);
    QCOMPARE(EntryCardLayout::isStarEnabled(card), !defaultFavorite);
    QCOMPARE(EntryCardLayout::starSymbol(card), favorite ? QString("star.fill") : QString("star"));
}

void MetadataEditorTest::starClicksChangeThePinThroughTheModel()
{
    QList<MetadataEntry> entries = entriesFor({"EXIF:Make", "XMP-dc:Title"});
    entries[0].isFavorite = true;
    entries[0].isDefaultFavorite = true;
    EditorUnderTest editor(entries);
    const EntryCardLayout::Fonts fonts(editor.view->font());
    const auto clickStar = [&](const QString &key) {
        const QRect row = editor.view->visualRect(editorRow(editor.view.get(), key));
        const QRect star = EntryCardLayout::Geometry::of(row, fonts, editor.cardOf(key)).starTarget;
        QTest::mouseClick(editor.view->viewport(), Qt::LeftButton, {}, star.center());
    };
    clickStar(QStringLiteral("XMP-dc:Title"));
    clickStar(QStringLiteral("EXIF:Make")); // a standard field stays pinned
    QCOMPARE(editor.source.toggledFavorites, QStringList({"XMP-dc:Title"}));
    QVERIFY(editor.source.edits.isEmpty());
}

void MetadataEditorTest::typingCommitsEveryKeystrokeIntoTheSameEditor()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make", "XMP-dc:Title"}));
    QPointer<QWidget> field = editor.focusRow(QStringLiteral("XMP-dc:Title"));
    QVERIFY(qobject_cast<ValueTextEditor *>(field));
    QTest::keyClick(field, Qt::Key_End);
    QSignalSpy changed(&editor.source.tree, &QAbstractItemModel::dataChanged);
    QTest::keyClicks(field, QStringLiteral("abc"));
    QCOMPARE(editor.source.edits, QStringList({"va", "vab", "vabc"}));
    // Each edit came back as its row alone; the editor stayed open.
    QCOMPARE(changed.size(), 3);
    QCOMPARE(editor.view->activeEditor(), field.data());
    QCOMPARE(static_cast<ValueTextEditor *>(field.data())->text(), QStringLiteral("vabc"));
    QCOMPARE(editor.cardOf(QStringLiteral("XMP-dc:Title")).value, QStringLiteral("vabc"));
    QVERIFY(editor.cardOf(QStringLiteral("XMP-dc:Title")).isModified);

    // A value changed elsewhere (Revert) shows in the open editor, no edit sent.
    editor.source.publish(withValue(editor.source.entries, 1, QStringLiteral("v")));
    QCOMPARE(static_cast<ValueTextEditor *>(field.data())->text(), QStringLiteral("v"));
    QCOMPARE(editor.source.edits.size(), 3);
}

void MetadataEditorTest::arrowKeysWalkTheRows()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make", "EXIF:Model", "XMP-dc:Title"}));
    QWidget *field = editor.focusRow(QStringLiteral("EXIF:Make"));
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(editor.view->currentIndex().data(EntryTreeModel::RawKeyRole).toString(),
             QStringLiteral("EXIF:Model"));
    // Past the section header to the next group's row.
    QTest::keyClick(editor.view->activeEditor(), Qt::Key_Down);
    QCOMPARE(editor.view->currentIndex().data(EntryTreeModel::RawKeyRole).toString(),
             QStringLiteral("XMP-dc:Title"));
    QTest::keyClick(editor.view->activeEditor(), Qt::Key_Up);
    QCOMPARE(editor.view->currentIndex().data(EntryTreeModel::RawKeyRole).toString(),
             QStringLiteral("EXIF:Model"));
    QVERIFY(editor.source.edits.isEmpty());
}

void MetadataEditorTest::rowHeightsReadWhatTheyDependOn()
{
    // One row of each kind whose height differs: a short value, a wrapping
    // one, a choice, a list the user may extend and one that is read-only.
    QList<MetadataEntry> entries =
        entriesFor({"XMP-dc:Title", "XMP-dc:Description", "IFD0:Orientation"});
    entries[1].value = QString(1200, u'w') + QStringLiteral(" and more words");
    // A choice shows one line, however long its value.
    entries[2].value = QString(600, u'w');
    entries << MetadataEntry::listEntry("IPTC:Keywords", {"sea", "boats, pier"});
    MetadataEntry fixedList = MetadataEntry::listEntry("XMP-dc:Subject", {"harbour", "quay"});
    fixedList.forceReadOnly = true;
    entries << fixedList;
    EditorUnderTest editor(entries);
    editor.source.options.insert("IFD0:Orientation", {{"1", "Horizontal"}});

    const EntryCardLayout::Fonts fonts(editor.view->font());
    QSet<int> heights;
    for (const MetadataEntry &entry : std::as_const(entries)) {
        const QModelIndex row = editor.source.tree.indexOf(entry.rawKey);
        const std::optional<EntryCard> sizing = EntryCard::sizingAt(row);
        QVERIFY2(sizing, qPrintable(entry.rawKey));
        const EntryCard full = EntryCard::at(row);
        QCOMPARE(sizing->isList, full.isList);
        QCOMPARE(sizing->value, full.value);
        QCOMPARE(sizing->items, full.items);
        QCOMPARE(sizing->isWritable, full.isWritable);
        QCOMPARE(sizing->showsPicker, full.showsPicker);
        const int height = EntryCardLayout::entryRowHeight(full, fonts, 600);
        QCOMPARE(EntryCardLayout::entryRowHeight(*sizing, fonts, 600), height);
        heights.insert(height);
    }
    // The rows above differ in what their heights depend on.
    QCOMPARE(heights.size(), 4);
    QVERIFY(!EntryCard::sizingAt(editor.source.tree.indexOf("IPTC:Keywords").parent()));
}

void MetadataEditorTest::listsAreEditedItemByItem()
{
    QList<MetadataEntry> entries = entriesFor({"XMP-dc:Title"});
    entries << MetadataEntry::listEntry("IPTC:Keywords", {"sea", "boats, pier"});
    EditorUnderTest editor(entries);
    editor.source.options.insert("IPTC:Keywords", {{"a", "A"}}); // a list never gets a choice list
    const QModelIndex row = editorRow(editor.view.get(), "IPTC:Keywords");
    QVERIFY(row.data(EntryTreeModel::IsListRole).toBool());
    QVERIFY(!row.data(EntryTreeModel::ShowsPickerRole).toBool());
    QCOMPARE(row.data(Qt::EditRole).toStringList(), QStringList({"sea", "boats, pier"}));

    // Shown one item per line, each after a bullet, and a line for the next.
    const EntryCard keywords = editor.cardOf("IPTC:Keywords");
    QCOMPARE(EntryCardLayout::shownText(keywords), QStringLiteral("• sea\n• boats, pier"));
    const EntryCardLayout::Fonts fonts(editor.view->font());
    const int plain = EntryCardLayout::entryRowHeight(editor.cardOf("XMP-dc:Title"), fonts, 600);
    const int lineHeight = QFontMetrics(fonts.value).lineSpacing();
    QCOMPARE(EntryCardLayout::entryRowHeight(keywords, fonts, 600), plain + 2 * lineHeight);
    EntryCard readOnly = keywords;
    readOnly.isWritable = false;
    QCOMPARE(EntryCardLayout::entryRowHeight(readOnly, fonts, 600), plain + lineHeight);

    auto *field = qobject_cast<ValueListEditor *>(editor.focusRow("IPTC:Keywords"));
    QVERIFY(field);
    QCOMPARE(field->text(), QStringLiteral("sea\nboats, pier"));
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return); // a new, empty item: nothing to send yet
    QVERIFY(editor.source.itemEdits.isEmpty());
    QTest::keyClicks(field, QStringLiteral("x"));
    QCOMPARE(editor.source.itemEdits, QList<QStringList>({{"sea", "boats, pier", "x"}}));
    QCOMPARE(editor.view->activeEditor(), field);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("sea\nboats, pier\nx\n")); // the line being typed stays
    QTest::keyClick(field, Qt::Key_Return);                           // on the empty line: done
    QTRY_VERIFY(!editor.view->activeEditor());
    QCOMPARE(editor.source.itemEdits.size(), 1);
    QVERIFY(editor.source.edits.isEmpty()); // never sent as one text
}

void MetadataEditorTest::choiceListAppearsWhenOptionsArrive()
{
    QList<MetadataEntry> entries = entriesFor({"ExifIFD:MeteringMode", "ExifIFD:Flash"});
    entries[1].forceReadOnly = true;
    EditorUnderTest editor(entries);
    QVERIFY(
        qobject_cast<ValueTextEditor *>(editor.focusRow(QStringLiteral("ExifIFD:MeteringMode"))));

    const QList<EnumeratedOption> modes{{"1", "Average"}, {"3", "Spot"}};
    editor.source.options.insert(QStringLiteral("ExifIFD:MeteringMode"), modes);
    editor.source.options.insert(QStringLiteral("ExifIFD:Flash"), modes);
    editor.source.tree.optionsDidChange(QStringLiteral("ExifIFD:MeteringMode"));
    editor.source.tree.optionsDidChange(QStringLiteral("ExifIFD:Flash"));

    auto *choice = qobject_cast<ValueChoiceEditor *>(editor.view->activeEditor());
    QVERIFY(choice);
    QCOMPARE(choice->labels(), QStringList({"Average", "Spot"}));
    QCOMPARE(choice->currentIndex(), -1); // "v" is none of them
    Q_EMIT choice->activated(1);
    QCOMPARE(editor.source.edits, QStringList({"Spot"}));
    // Arrow keys leave the value alone and move on.
    QTest::keyClick(editor.view->activeEditor(), Qt::Key_Up);
    QCOMPARE(editor.source.edits.size(), 1);
    // A read-only tag keeps its text field (disabled) even with options.
    const QModelIndex flash = editorRow(editor.view.get(), QStringLiteral("ExifIFD:Flash"));
    QVERIFY(!flash.data(EntryTreeModel::ShowsPickerRole).toBool());
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
    const QStringList &shownKeys = editor.source.keysCameIntoView;
    QTRY_VERIFY(!shownKeys.isEmpty());
    const qsizetype firstScreen = shownKeys.size();
    QVERIFY2(firstScreen < 20, qPrintable(QString::number(firstScreen)));
    QCOMPARE(shownKeys.first(), QStringLiteral("Group00:Tag0000"));

    editor.view->verticalScrollBar()->setValue(editor.view->verticalScrollBar()->maximum());
    QTRY_COMPARE(shownKeys.last(), QStringLiteral("Group39:Tag1999"));
    QVERIFY(shownKeys.size() < 2 * firstScreen + 5);
}

QTEST_MAIN(MetadataEditorTest)
#include "tst_MetadataEditor.moc"
