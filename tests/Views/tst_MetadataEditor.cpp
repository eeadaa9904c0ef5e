// The metadata editor on its own, over an entry tree whose source stands in
// for the library: the row marks and heights as the cards read them from
// the model's roles, and the in-place editors, driven with keys under the
// offscreen platform.
#include "MetaloomFeature/Views/Editor/EditorLook.h"
#include "MetaloomFeature/Views/Editor/EntryCardLayout.h"
#include "MetaloomFeature/Views/Editor/EntryContextMenu.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"
#include "ViewHarness.h"
#include "tests/support/EntryListSource.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
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
    // The editor keeps its look and folded groups in the preferences.
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void rowMarks_data();
    void rowMarks();
    void starClicksChangeThePinThroughTheModel();
    void typingCommitsEveryKeystrokeIntoTheSameEditor();
    void arrowKeysWalkTheRows();
    void listsAreEditedItemByItem();
    void rowHeightsReadWhatTheyDependOn();
    void choiceListAppearsWhenOptionsArrive();
    void optionLookupsOnlyForRowsInView();
    void compactRowsAreOneLineUntilEdited();
    void groupsFoldByClickAndKeysAndAreRemembered();
    void aFilterWithoutMatchesSaysSo();
    void copyTakesTheCurrentRowsValue();
    void exifToolArguments_data();
    void exifToolArguments();
    void openEditorHidesThePaintedValue();
    void aRowBeingCheckedOpensOnceKnown();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void MetadataEditorTest::rowMarks_data()
{
    QTest::addColumn<bool>("hasWarning");
    QTest::addColumn<bool>("readOnly");
    // The value shown; the tag holds "a".
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("checking");
    QTest::addColumn<bool>("favorite");
    QTest::addColumn<bool>("defaultFavorite");
    QTest::addColumn<QString>("badge");
    QTest::addColumn<QString>("starHelp");
    QTest::newRow("warning first") << true << true << "b" << true << false << false
                                   << QStringLiteral("Can't write") << "Add to favorites";
    QTest::newRow("read-only before modified")
        << false << true << "b" << true << true << false << QStringLiteral("Read-only")
        << "Remove from favorites";
    QTest::newRow("checking before modified") << false << false << "b" << true << false << false
                                              << QStringLiteral("Checking…") << "Add to favorites";
    QTest::newRow("modified") << false << false << "b" << false << false << false
                              << QStringLiteral("Modified") << "Add to favorites";
    QTest::newRow("emptied: removed at the save")
        << false << false << "" << false << false << false << QStringLiteral("Will be removed")
        << "Add to favorites";
    QTest::newRow("plain default favorite")
        << false << false << "a" << false << false << true << QString() << "Standard field";
}

void MetadataEditorTest::rowMarks()
{
    QFETCH(bool, hasWarning);
    QFETCH(bool, readOnly);
    QFETCH(QString, typed);
    QFETCH(bool, checking);
    QFETCH(bool, favorite);
    QFETCH(bool, defaultFavorite);
    QFETCH(QString, badge);
    QFETCH(QString, starHelp);
    MetadataEntry entry(QStringLiteral("XMP-dc:Title"), QStringLiteral("a"));
    if (hasWarning)
        entry.warning = QStringLiteral("Can't write");
    entry.forceReadOnly = readOnly;
    entry.value = typed;
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

void MetadataEditorTest::compactRowsAreOneLineUntilEdited()
{
    QList<MetadataEntry> entries = entriesFor({"EXIF:Make", "XMP-dc:Title", "XMP-dc:Rights"});
    entries[1].value = QString(400, u'w');
    EditorUnderTest editor(entries);
    const auto rowHeight = [&](const QString &key) {
        return editor.view->visualRect(editorRow(editor.view.get(), key)).height();
    };
    const int cardHeight = rowHeight("EXIF:Make");
    editor.view->setCompact(true);
    const int line = rowHeight("EXIF:Make");
    // About 24 px at the default font, the long value too.
    QVERIFY2(line >= 18 && line <= 26, qPrintable(QString::number(line)));
    QVERIFY(line < cardHeight / 2);
    QCOMPARE(rowHeight("XMP-dc:Title"), line);

    // Edited, the long value opens to its lines, and closes again after.
    QWidget *field = editor.focusRow("XMP-dc:Title");
    QVERIFY(field);
    QVERIFY(rowHeight("XMP-dc:Title") > 2 * line);
    QVERIFY(editor.view->visualRect(editorRow(editor.view.get(), "XMP-dc:Title"))
                .contains(field->geometry()));
    editor.focusRow("XMP-dc:Rights");
    QCOMPARE(rowHeight("XMP-dc:Title"), line);

    // Name and value sit in two columns: every name ends left of every value.
    const EntryCardLayout::Fonts fonts(editor.view->font());
    const QRect row = editor.view->visualRect(editorRow(editor.view.get(), "EXIF:Make"));
    const auto geometry = EntryCardLayout::Geometry::of(row, fonts, editor.cardOf("EXIF:Make"),
                                                        editor.view->rowDelegate()->look());
    QVERIFY(geometry.name.right() < geometry.valueText.left());
    QCOMPARE(geometry.star.top() >= row.top() && geometry.star.bottom() <= row.bottom(), true);
    // Dragging the line between the columns moves it.
    const int divider = EntryCardLayout::columnDividerX(row, editor.view->rowDelegate()->look());
    QTest::mousePress(editor.view->viewport(), Qt::LeftButton, {},
                      QPoint(divider, row.center().y()));
    QMouseEvent move(QEvent::MouseMove, QPointF(divider + 60, row.center().y()),
                     editor.view->viewport()->mapToGlobal(QPointF(divider + 60, row.center().y())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.view->viewport(), &move);
    QTest::mouseRelease(editor.view->viewport(), Qt::LeftButton, {},
                        QPoint(divider + 60, row.center().y()));
    QCOMPARE(EntryCardLayout::columnDividerX(row, editor.view->rowDelegate()->look()),
             divider + 60);
    // The next editor opens with the column where it was left.
    QCOMPARE(MetadataEditorView(&editor.source.tree).nameColumnWidth(),
             editor.view->nameColumnWidth());

    // The look is the stored one, and a change of it reaches open editors.
    editor.view->setCompact(false);
    EditorLook::setCompactRows(true);
    QVERIFY(editor.view->isCompact());
    EditorLook::setCompactRows(false);
    QVERIFY(!editor.view->isCompact());
    EditorLook::setCompactRows(true);
    MetadataEditorView another(&editor.source.tree);
    QVERIFY(another.isCompact());
}

void MetadataEditorTest::groupsFoldByClickAndKeysAndAreRemembered()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make", "EXIF:Model", "XMP-dc:Title"}));
    const QModelIndex exif = editor.source.tree.index(0, 0);
    const QModelIndex xmp = editor.source.tree.index(1, 0);
    QCOMPARE(exif.data().toString(), QStringLiteral("EXIF"));
    QVERIFY(editor.view->isExpanded(exif) && editor.view->isExpanded(xmp));

    QTest::mouseClick(editor.view->viewport(), Qt::LeftButton, {},
                      editor.view->visualRect(exif).center());
    QVERIFY(!editor.view->isExpanded(exif));
    QCOMPARE(EditorLook::foldedGroups(), QSet<QString>({"EXIF"}));
    editor.view->setFocus();
    editor.view->setCurrentIndex(exif);
    QTest::keyClick(editor.view.get(), Qt::Key_Right);
    QVERIFY(editor.view->isExpanded(exif));
    QTest::keyClick(editor.view.get(), Qt::Key_Left);
    QVERIFY(!editor.view->isExpanded(exif));

    // Remembered by name: a new view (another window, the next start) and
    // the group coming back after a list without it start folded.
    MetadataEditorView another(&editor.source.tree);
    QVERIFY(!another.isExpanded(exif) && another.isExpanded(xmp));
    const QList<MetadataEntry> all = editor.source.entries;
    editor.source.publish({all.at(2)});
    editor.source.publish(all);
    QVERIFY(!editor.view->isExpanded(editor.source.tree.index(0, 0)));

    editor.view->collapseAllGroups();
    QVERIFY(!editor.view->isExpanded(editor.source.tree.index(1, 0)));
    QCOMPARE(EditorLook::foldedGroups(), QSet<QString>({"EXIF", "XMP-dc"}));
    editor.view->expandAllGroups();
    QVERIFY(editor.view->isExpanded(editor.source.tree.index(0, 0)));
    QVERIFY(editor.view->isExpanded(editor.source.tree.index(1, 0)));
    QVERIFY(EditorLook::foldedGroups().isEmpty());
}

void MetadataEditorTest::aFilterWithoutMatchesSaysSo()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make"}));
    editor.view->setSearchText(QStringLiteral("lens"));
    QCOMPARE(editor.view->emptyListText(), QString()); // rows are shown
    editor.source.publish({});
    QCOMPARE(editor.view->emptyListText(), QStringLiteral("No tags match “lens”."));
    editor.view->setSearchText(QString());
    QCOMPARE(editor.view->emptyListText(), QString()); // a file without tags
}

void MetadataEditorTest::copyTakesTheCurrentRowsValue()
{
    QList<MetadataEntry> entries = entriesFor({"EXIF:Make", "XMP-dc:Title"});
    entries[0].forceReadOnly = true;
    entries[0].value = entries[0].originalValue = QStringLiteral("Canon");
    entries[1].value = QStringLiteral("Harbour at dawn");
    EditorUnderTest editor(entries);
    QClipboard *clipboard = QGuiApplication::clipboard();

    // A read-only row has no editor: the view copies the value.
    QVERIFY(!editor.focusRow("EXIF:Make"));
    editor.view->setFocus();
    QTest::keyClick(editor.view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("Canon"));

    // In the editor, Copy takes the selection, or the whole value without one.
    auto *field = qobject_cast<ValueTextEditor *>(editor.focusRow("XMP-dc:Title"));
    QVERIFY(field);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("Harbour at dawn"));
    QTextCursor cursor = field->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    field->setTextCursor(cursor);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("Harbour"));
    QVERIFY(editor.source.edits.isEmpty());
}

void MetadataEditorTest::exifToolArguments_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("items"); // a list tag's items, or the one value
    QTest::addColumn<bool>("isList");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("argument");
    QTest::newRow("plain") << "XMP-dc:Title" << QStringList{"Sunset, pier"} << false
                           << "Sunset, pier"
                           << "-XMP-dc:Title=Sunset, pier";
    QTest::newRow("empty") << "IFD0:Artist" << QStringList{""} << false << ""
                           << "-IFD0:Artist=";
    QTest::newRow("list") << "IPTC:Keywords" << QStringList{"sea", "boats, pier"} << true
                          << "sea\nboats, pier"
                          << "-IPTC:Keywords=sea -IPTC:Keywords=boats, pier";
    QTest::newRow("line break") << "XMP-dc:Description" << QStringList{"one\ntwo \\ three"} << false
                                << "one\ntwo \\ three"
                                << "#[CSTR]-XMP-dc:Description=one\\ntwo \\\\ three";
}

void MetadataEditorTest::exifToolArguments()
{
    QFETCH(QString, key);
    QFETCH(QStringList, items);
    QFETCH(bool, isList);
    QFETCH(QString, value);
    QFETCH(QString, argument);
    const MetadataEntry entry =
        isList ? MetadataEntry::listEntry(key, items) : MetadataEntry(key, items.first());
    QCOMPARE(EntryContextMenu::copiedValue(entry), value);
    QCOMPARE(EntryContextMenu::exifToolArgument(entry), argument);
    QVERIFY(!EntryContextMenu::exifToolArgument(entry).contains(u'\n'));
}

void MetadataEditorTest::aRowBeingCheckedOpensOnceKnown()
{
    EditorUnderTest editor(entriesFor({"EXIF:Make", "XMP-dc:Title", "XMP-dc:Rights"}));
    editor.source.checking = {"XMP-dc:Title", "XMP-dc:Rights"};
    const auto checkEnds = [&](const QString &key) {
        editor.source.checking.remove(key);
        editor.source.tree.entryDidChange(key);
    };
    // No editor while the tag's writability is unknown, not even by a key.
    QVERIFY(!editor.focusRow("XMP-dc:Title"));
    QVERIFY(!(editor.source.tree.flags(editorRow(editor.view.get(), "XMP-dc:Title")) &
              Qt::ItemIsEditable));
    QTest::keyClick(editor.view.get(), Qt::Key_A);
    QVERIFY(!editor.view->activeEditor());
    QVERIFY(editor.source.edits.isEmpty());
    checkEnds("XMP-dc:Title");
    QVERIFY(editor.view->activeEditor());

    // Escape means the user no longer wants it.
    QVERIFY(!editor.focusRow("XMP-dc:Rights"));
    QTest::keyClick(editor.view.get(), Qt::Key_Escape);
    checkEnds("XMP-dc:Rights");
    QVERIFY(!editor.view->activeEditor());
}

void MetadataEditorTest::openEditorHidesThePaintedValue()
{
    // A value of thousands of characters, edited: only the editor's text
    // shows in the row (the row painted under it would show through), and
    // the editor scrolls what does not fit.
    QList<MetadataEntry> entries = entriesFor({"XMP-dc:Description"});
    QString longValue;
    for (int i = 0; i < 500; ++i)
        longValue += QStringLiteral("word%1 ").arg(i, 3, 10, QLatin1Char('0'));
    entries[0].value = longValue;
    EditorUnderTest editor(entries);
    const QModelIndex row = editorRow(editor.view.get(), "XMP-dc:Description");
    auto *field = qobject_cast<ValueTextEditor *>(editor.focusRow("XMP-dc:Description"));
    QVERIFY(field);
    QTRY_VERIFY(field->verticalScrollBar()->isVisibleTo(field));
    // The row as it paints itself under its editor (its children left
    // out): nothing but the box where the text goes.
    const QRect rowRect = editor.view->visualRect(row);
    QImage painted(rowRect.size(), QImage::Format_ARGB32);
    painted.fill(Qt::transparent);
    editor.view->viewport()->render(&painted, QPoint(), QRegion(rowRect),
                                    QWidget::DrawWindowBackground);
    const QRect text = field->geometry().translated(-rowRect.topLeft());
    // No glyph: along each line every pixel is the colour the line starts
    // with (give or take a shade of the selection's gradient).
    int inked = 0;
    for (int y = text.top() + 2; y < text.bottom() - 2; y += 2) {
        const QColor start = painted.pixelColor(text.left() + 1, y);
        for (int x = text.left() + 2; x < text.right() - 2; x += 2) {
            const QColor here = painted.pixelColor(x, y);
            if (std::abs(here.red() - start.red()) + std::abs(here.green() - start.green()) +
                    std::abs(here.blue() - start.blue()) >
                60)
                ++inked;
        }
    }
    QCOMPARE(inked, 0);
}

QTEST_MAIN(MetadataEditorTest)
#include "tst_MetadataEditor.moc"
