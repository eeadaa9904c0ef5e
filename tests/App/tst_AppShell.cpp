// The application shell with real windows: menu shortcuts through the
// notifications, the question before unsaved edits are lost, and closing a
// window while its save runs.
#include "App/MainWindow.h"
#include "App/MetaloomApp.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Platform/Preferences.h"
#include "MetaloomFeature/Updates/UpdaterController.h"
#include "MetaloomFeature/Views/Window/FileHeaderView.h"
#include "MetaloomFeature/Views/Editor/EditorLook.h"
#include "MetaloomFeature/Views/Editor/EntryContextMenu.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Settings/UpdateResultDialog.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "tests/Engine/RealFiles.h"
#include "tests/Views/ViewHarness.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const QString title = QStringLiteral("XMP-dc:Title");

// A window showing a copy of a sample file, with its title edited.
MainWindow *windowWithEdit(MetaloomApp &app, const QString &path, const QString &value)
{
    MainWindow *window = app.newWindow();
    window->openFiles({QUrl::fromLocalFile(path)});
    if (!waitForLoad(*window->library()))
        return nullptr;
    window->library()->editValue(*shownEntry(*window->library(), title), value);
    return window;
}

// A window showing copies of two sample files, each with its title edited;
// the second is shown.
MainWindow *windowWithTwoEdits(MetaloomApp &app, const QStringList &paths)
{
    MainWindow *window = app.newWindow();
    window->openFiles({QUrl::fromLocalFile(paths.at(0)), QUrl::fromLocalFile(paths.at(1))});
    LibraryViewModel &library = *window->library();
    if (!waitForLoad(library))
        return nullptr;
    library.editValue(*shownEntry(library, title), QStringLiteral("first"));
    library.setSelectedItemID(library.items().at(1).id);
    if (!waitForLoad(library) || !waitUntilIdle(library))
        return nullptr;
    library.editValue(*shownEntry(library, title), QStringLiteral("second"));
    return window;
}

bool activate(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QAction *menuAction(QWidget *window, const QString &text)
{
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class AppShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void saveShortcutReachesEveryWindow();
    void reloadAndRevertAreNotSwapped_data();
    void reloadAndRevertAreNotSwapped();
    void closingWithUnsavedEditsAsks_data();
    void closingWithUnsavedEditsAsks();
    void quitStopsAtCancel();
    void closingAsksOnceForEveryEditedFile_data();
    void closingAsksOnceForEveryEditedFile();
    void quitAsksOnceAcrossWindows();
    void closingDuringASaveLetsItFinish();
    void filesFromTheCommandLine();
    void updateOutcomesOpenTheDialog();
    void compactRowsFromTheViewMenuInEveryWindow();
    void editMenuCopiesAndContextMenuActions();

private:
    QString copy(const QString &name, const QString &as = QString())
    {
        return copyTestData(name, m_env->workPath(), as);
    }

    std::unique_ptr<TestEnvironment> m_env;
};

void AppShellTest::saveShortcutReachesEveryWindow()
{
    MetaloomApp app({realBundle(), false});
    const QString first = copy(QStringLiteral("Canon.jpg"));
    const QString second = copy(QStringLiteral("XMP.jpg"));
    MainWindow *one = windowWithEdit(app, first, QStringLiteral("one"));
    MainWindow *two = windowWithEdit(app, second, QStringLiteral("two"));
    QVERIFY(one && two);
    QVERIFY(activate(one));
    // Without an update key the updater never starts.
    QVERIFY(!menuAction(one, QStringLiteral("Check for &Updates…"))->isEnabled());

    QTest::keyClick(one, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(
        !one->library()->hasPendingChanges() && !two->library()->hasPendingChanges(), 60000);
    QVERIFY(waitUntilIdle(*one->library()) && waitUntilIdle(*two->library()));
    QCOMPARE(valueOf(first, title), QStringLiteral("one"));
    QCOMPARE(valueOf(second, title), QStringLiteral("two"));
}

void AppShellTest::reloadAndRevertAreNotSwapped_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("reverts");
    QTest::newRow("Ctrl+R reloads") << int(Qt::ControlModifier) << false;
    QTest::newRow("Ctrl+Shift+R reverts") << int(Qt::ControlModifier | Qt::ShiftModifier) << true;
}

void AppShellTest::reloadAndRevertAreNotSwapped()
{
    QFETCH(int, modifiers);
    QFETCH(bool, reverts);
    MetaloomApp app({realBundle(), false});
    MainWindow *window =
        windowWithEdit(app, copy(QStringLiteral("Canon.jpg")), QStringLiteral("x"));
    QVERIFY(window && activate(window));
    const QUuid before = shownEntry(*window->library(), title)->id;

    QTest::keyClick(window, Qt::Key_R, Qt::KeyboardModifiers(modifiers));
    QVERIFY(waitUntilIdle(*window->library()));
    QVERIFY(!window->library()->hasPendingChanges());
    // Revert keeps the entries and says so; a reload reads new ones quietly.
    QCOMPARE(shownEntry(*window->library(), title)->id == before, reverts);
    QCOMPARE(window->library()->statusMessage() == QStringLiteral("Changes reverted."), reverts);
}

void AppShellTest::closingWithUnsavedEditsAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("fileTitle");
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << QString();
    QTest::newRow("Discard") << int(QMessageBox::Discard) << true << QString();
    QTest::newRow("Save") << int(QMessageBox::Save) << true << QStringLiteral("kept");
}

void AppShellTest::closingWithUnsavedEditsAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(QString, fileTitle);
    MetaloomApp app({realBundle(), false});
    const QString path = copy(QStringLiteral("Canon.jpg"));
    QPointer<MainWindow> window = windowWithEdit(app, path, QStringLiteral("kept"));
    QVERIFY(window);

    window->close();
    QVERIFY(window && window->isVisible());
    QMessageBox *prompt = window->unsavedChangesPrompt();
    QVERIFY(prompt && prompt->isVisible());
    QTest::mouseClick(prompt->button(QMessageBox::StandardButton(answer)), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(window.isNull() == closes, 60000);
    if (!closes)
        QVERIFY(window->library()->hasPendingChanges());
    QCOMPARE(valueOf(path, title), fileTitle);
}

void AppShellTest::quitStopsAtCancel()
{
    MetaloomApp app({realBundle(), false});
    QPointer<MainWindow> clean = app.newWindow();
    QPointer<MainWindow> edited =
        windowWithEdit(app, copy(QStringLiteral("Canon.jpg")), QStringLiteral("x"));
    QVERIFY(edited);
    app.quit();
    QMessageBox *prompt = edited->unsavedChangesPrompt();
    QVERIFY(prompt);
    QTest::mouseClick(prompt->button(QMessageBox::Cancel), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(clean && edited);
    QCOMPARE(app.windows().size(), 2);

    // A later Quit asks again: the cancelled one is over.
    app.quit();
    prompt = edited->unsavedChangesPrompt();
    QVERIFY(prompt && prompt->isVisible());
    QTest::mouseClick(prompt->button(QMessageBox::Cancel), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(app.windows().size(), 2);
}

void AppShellTest::closingAsksOnceForEveryEditedFile_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("firstReadOnly");
    QTest::addColumn<bool>("closes");
    // The titles in the files afterwards; a null one: as the file had it.
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << false
                            << QStringList{QString(), QString()};
    QTest::newRow("Discard") << int(QMessageBox::Discard) << false << true
                             << QStringList{QString(), QString()};
    QTest::newRow("Save All") << int(QMessageBox::Save) << false << true
                              << QStringList{QStringLiteral("first"), QStringLiteral("second")};
    QTest::newRow("Save All, one file refuses") << int(QMessageBox::Save) << true << false
                                                << QStringList{QString(), QStringLiteral("second")};
}

void AppShellTest::closingAsksOnceForEveryEditedFile()
{
    QFETCH(int, answer);
    QFETCH(bool, firstReadOnly);
    QFETCH(bool, closes);
    QFETCH(QStringList, titles);
    MetaloomApp app({realBundle(), false});
    const QStringList paths{copy(QStringLiteral("Canon.jpg")), copy(QStringLiteral("XMP.jpg"))};
    QStringList expected;
    for (qsizetype index = 0; index < paths.size(); ++index)
        expected << (titles.at(index).isNull() ? valueOf(paths.at(index), title)
                                               : titles.at(index));
    QPointer<MainWindow> window = windowWithTwoEdits(app, paths);
    QVERIFY(window);
    if (firstReadOnly)
        QVERIFY(QFile::setPermissions(paths.at(0), QFile::ReadOwner));

    window->close();
    QMessageBox *prompt = window->unsavedChangesPrompt();
    QVERIFY(prompt && prompt->isVisible());
    QCOMPARE(prompt->text(), QStringLiteral("Save changes to 2 files?"));
    QVERIFY(prompt->informativeText().startsWith(QStringLiteral("Canon.jpg\nXMP.jpg\n")));
    QCOMPARE(prompt->button(QMessageBox::Save)->text(), QStringLiteral("&Save All"));
    QTest::mouseClick(prompt->button(QMessageBox::StandardButton(answer)), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(window.isNull() == closes && (closes || !window->library()->isBusy()),
                             60000);
    if (!closes)
        QCOMPARE(window->library()->modifiedItemIDs().size(), firstReadOnly ? 1 : 2);
    QCOMPARE(QStringList({valueOf(paths.at(0), title), valueOf(paths.at(1), title)}), expected);
}

void AppShellTest::quitAsksOnceAcrossWindows()
{
    MetaloomApp app({realBundle(), false});
    QPointer<MainWindow> one =
        windowWithEdit(app, copy(QStringLiteral("Canon.jpg")), QStringLiteral("x"));
    QPointer<MainWindow> two =
        windowWithEdit(app, copy(QStringLiteral("XMP.jpg")), QStringLiteral("y"));
    QVERIFY(one && two);
    app.quit();
    QMessageBox *prompt = one->unsavedChangesPrompt();
    QVERIFY(prompt);
    QVERIFY(!two->unsavedChangesPrompt());
    QCOMPARE(prompt->text(), QStringLiteral("Save changes to 2 files?"));
    QTest::mouseClick(prompt->button(QMessageBox::Discard), Qt::LeftButton);
    QTRY_VERIFY(one.isNull() && two.isNull());
}

void AppShellTest::closingDuringASaveLetsItFinish()
{
    MetaloomApp app({realBundle(), false});
    const QString path = copy(QStringLiteral("Canon.jpg"));
    QPointer<MainWindow> window = windowWithEdit(app, path, QStringLiteral("finished"));
    QVERIFY(window && activate(window));

    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(window->library()->isBusy());
    // The save is running and the edits are not in the file yet: the window
    // asks, and the user lets the edits go.
    window->close();
    QVERIFY(window->unsavedChangesPrompt());
    QTest::mouseClick(window->unsavedChangesPrompt()->button(QMessageBox::Discard), Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
    // The change already under way still lands whole.
    QTRY_COMPARE_WITH_TIMEOUT(valueOf(path, title), QStringLiteral("finished"), 30000);
    QTest::qWait(200);
}

void AppShellTest::filesFromTheCommandLine()
{
    const QString here = QDir::currentPath();
    QCOMPARE(filesFromArguments({QStringLiteral("a b.jpg"), QStringLiteral("file:///tmp/c.mov"),
                                 QStringLiteral("/tmp/d.heic")}),
             QList<QUrl>({QUrl::fromLocalFile(here + QStringLiteral("/a b.jpg")),
                          QUrl::fromLocalFile(QStringLiteral("/tmp/c.mov")),
                          QUrl::fromLocalFile(QStringLiteral("/tmp/d.heic"))}));
}

void AppShellTest::updateOutcomesOpenTheDialog()
{
    // The updater shows no window; the application hands its outcomes to the
    // update dialog.
    MetaloomApp app({realBundle(), false});
    const auto dialogs = [] {
        QList<UpdateResultDialog *> found;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<UpdateResultDialog *>(widget);
                dialog && dialog->isVisible())
                found << dialog;
        }
        return found;
    };
    QVERIFY(dialogs().isEmpty());
    UpdateCheckOutcome outcome;
    outcome.kind = UpdateCheckOutcome::Kind::Failed;
    outcome.errorMessage = QStringLiteral("The update server did not answer in time.");
    Q_EMIT app.updater()->outcomeToShow(outcome);
    QTRY_COMPARE(dialogs().size(), 1);
    QCOMPARE(dialogs().first()->informativeText(), outcome.errorMessage);
    dialogs().first()->close();
}

void AppShellTest::compactRowsFromTheViewMenuInEveryWindow()
{
    MetaloomApp app({realBundle(), false});
    MainWindow *one = app.newWindow();
    MainWindow *two = app.newWindow();
    one->openFiles({QUrl::fromLocalFile(copy(QStringLiteral("Canon.jpg")))});
    QVERIFY(waitForLoad(*one->library()));
    one->resize(MainWindow::defaultSize);
    MetadataEditorView *editor = one->content()->editor();
    QVERIFY(!editor->isCompact()); // cards by default
    const auto fullyShownTagRows = [editor] {
        int rows = 0;
        for (QModelIndex index = editor->indexAt(QPoint(1, 1)); index.isValid();
             index = editor->indexBelow(index)) {
            const QRect rect = editor->visualRect(index);
            if (rect.bottom() >= editor->viewport()->height())
                break;
            rows += index.parent().isValid() ? 1 : 0;
        }
        return rows;
    };
    const int cards = fullyShownTagRows();

    QAction *compact = menuAction(one, QStringLiteral("&Compact Rows"));
    QVERIFY(compact && compact->isCheckable() && !compact->isChecked());
    compact->trigger();
    QVERIFY(editor->isCompact() && two->content()->editor()->isCompact());
    QVERIFY(menuAction(two, QStringLiteral("&Compact Rows"))->isChecked());
    QCOMPARE(Preferences::standard().boolean(EditorLook::compactRowsKey), true);
    // 25 tags at the default size (the file header shrinks to one line),
    // and at least four times as many as cards.
    QTRY_VERIFY2(fullyShownTagRows() >= std::max(25, 4 * cards),
                 qPrintable(QStringLiteral("%1 rows, %2 as cards, header %3 high")
                                .arg(fullyShownTagRows())
                                .arg(cards)
                                .arg(one->content()->fileHeader()->height())));

    menuAction(two, QStringLiteral("&Compact Rows"))->trigger();
    QVERIFY(!editor->isCompact() && !compact->isChecked());

    // Collapse All folds every group, Expand All opens them again.
    menuAction(one, QStringLiteral("C&ollapse All"))->trigger();
    QCOMPARE(fullyShownTagRows(), 0);
    menuAction(one, QStringLiteral("&Expand All"))->trigger();
    // At least as many as before: the import's note may have gone meanwhile
    // and given its room back to the list.
    QTRY_VERIFY(fullyShownTagRows() >= cards);
}

void AppShellTest::editMenuCopiesAndContextMenuActions()
{
    MetaloomApp app({realBundle(), false});
    MainWindow *window =
        windowWithEdit(app, copy(QStringLiteral("Canon.jpg")), QStringLiteral("Pier at dawn"));
    QVERIFY(window && activate(window));
    QClipboard *clipboard = QGuiApplication::clipboard();
    MetadataEditorView *editor = window->content()->editor();

    // Copy without a selection: the current row's value.
    editor->setCurrentIndex(editorRow(editor, title));
    clipboard->clear();
    menuAction(window, QStringLiteral("&Copy"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("Pier at dawn"));
    // Find and Select All act on the search field.
    menuAction(window, QStringLiteral("&Find"))->trigger();
    auto *search = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(search);
    QTest::keyClicks(search, QStringLiteral("no such tag anywhere"));
    menuAction(window, QStringLiteral("Select &All"))->trigger();
    QCOMPARE(search->selectedText(), QStringLiteral("no such tag anywhere"));
    QTRY_COMPARE(editor->emptyListText(), QStringLiteral("No tags match “no such tag anywhere”."));
    QTest::keyClick(search, Qt::Key_Backspace);
    QTRY_VERIFY(editorRow(editor, title).isValid());

    // Each action of a row's menu, by its clipboard or its pin.
    const struct {
        QString action;
        QString clipboard;
    } copies[] = {
        {QStringLiteral("Copy &Value"), QStringLiteral("Pier at dawn")},
        {QStringLiteral("Copy Tag &Name"), QStringLiteral("Title")},
        {QStringLiteral("Copy as ExifTool &Argument"),
         QStringLiteral("-XMP-dc:Title=Pier at dawn")},
    };
    for (const auto &expected : copies) {
        std::unique_ptr<QMenu> menu(EntryContextMenu::build(window, window->library(), title));
        QVERIFY(menu);
        clipboard->clear();
        menuAction(menu.get(), expected.action)->trigger();
        QCOMPARE(clipboard->text(), expected.clipboard);
    }
    // Pinned from the menu as by the star (a standard field stays pinned).
    QString pinnable;
    for (const MetadataEntry &entry : window->library()->filteredEntries()) {
        if (!entry.isFavorite && !entry.isDefaultFavorite)
            pinnable = entry.rawKey;
    }
    QVERIFY(!pinnable.isEmpty());
    for (const bool pinned : {false, true}) {
        std::unique_ptr<QMenu> menu(EntryContextMenu::build(window, window->library(), pinnable));
        QAction *pin =
            menuAction(menu.get(), pinned ? QStringLiteral("Un&pin") : QStringLiteral("&Pin"));
        QVERIFY(pin && pin->isEnabled());
        pin->trigger();
        QCOMPARE(window->library()->pinnedTags().contains(pinnable), !pinned);
    }
    QVERIFY(!EntryContextMenu::build(window, window->library(), QStringLiteral("No:Such")));
}

QTEST_MAIN(AppShellTest)
#include "tst_AppShell.moc"
