#include "AppMenus.h"

#include "MainWindow.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Updates/UpdaterController.h"
#include "MetaloomFeature/Views/Editor/EditorLook.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "MetaloomFeature/Views/Window/DetachedTask.h"
#include "VossaApps/VossaAppsMenu.h"

using VossaApps::VossaAppsMenu;

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

namespace Metaloom::AppMenus {

namespace {

QAction *addCommand(QMenu *menu, const QString &title, const QKeySequence &shortcut,
                    std::function<void()> action)
{
    QAction *command = menu->addAction(title);
    command->setShortcut(shortcut);
    QObject::connect(command, &QAction::triggered, menu,
                     [action = std::move(action)] { action(); });
    return command;
}

std::function<void()> post(const QString &name)
{
    return [name] { NotificationCenter::defaultCenter()->post(name); };
}

// Paste brings files into the window; a text field in focus with text on
// the clipboard gets the text instead.
void paste(MainWindow *window)
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QWidget *focus = QApplication::focusWidget();
    const bool hasFiles = data && data->hasUrls();
    if (!hasFiles && focus && window->isAncestorOf(focus)) {
        if (auto *line = qobject_cast<QLineEdit *>(focus); line && !line->isReadOnly())
            return line->paste();
        if (auto *plain = qobject_cast<QPlainTextEdit *>(focus); plain && !plain->isReadOnly())
            return plain->paste();
        if (auto *rich = qobject_cast<QTextEdit *>(focus); rich && !rich->isReadOnly())
            return rich->paste();
    }
    window->content()->pasteFiles(data);
}

// Undo and Redo belong to a text field in focus that has its own steps;
// otherwise to the window's edits.
bool undoInField(MainWindow *window, bool redo)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !window->isAncestorOf(focus))
        return false;
    if (auto *line = qobject_cast<QLineEdit *>(focus);
        line && !line->isReadOnly() && (redo ? line->isRedoAvailable() : line->isUndoAvailable())) {
        redo ? line->redo() : line->undo();
        return true;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus); plain && !plain->isReadOnly()) {
        QTextDocument *document = plain->document();
        if (redo ? document->isRedoAvailable() : document->isUndoAvailable()) {
            redo ? plain->redo() : plain->undo();
            return true;
        }
    }
    if (auto *rich = qobject_cast<QTextEdit *>(focus); rich && !rich->isReadOnly()) {
        QTextDocument *document = rich->document();
        if (redo ? document->isRedoAvailable() : document->isUndoAvailable()) {
            redo ? rich->redo() : rich->undo();
            return true;
        }
    }
    return false;
}

// The text field in focus inside the window, if any.
QWidget *focusedTextField(MainWindow *window)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !window->isAncestorOf(focus))
        return nullptr;
    if (qobject_cast<QLineEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus) ||
        qobject_cast<QTextEdit *>(focus))
        return focus;
    return nullptr;
}

void cut(MainWindow *window)
{
    QWidget *field = focusedTextField(window);
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->cut();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(field); plain && !plain->isReadOnly())
        plain->cut();
    else if (auto *rich = qobject_cast<QTextEdit *>(field); rich && !rich->isReadOnly())
        rich->cut();
}

// Copy takes the selected text of the field in focus; without a selection
// it copies the value of the editor's current row.
void copy(MainWindow *window)
{
    QWidget *field = focusedTextField(window);
    if (auto *line = qobject_cast<QLineEdit *>(field); line && line->hasSelectedText())
        return line->copy();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(field);
        plain && plain->textCursor().hasSelection())
        return plain->copy();
    if (auto *rich = qobject_cast<QTextEdit *>(field); rich && rich->textCursor().hasSelection())
        return rich->copy();
    if (const auto value = window->content()->editor()->currentValueText())
        QGuiApplication::clipboard()->setText(*value);
}

void selectAll(MainWindow *window)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !window->isAncestorOf(focus))
        return;
    if (auto *line = qobject_cast<QLineEdit *>(focus))
        line->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        plain->selectAll();
    else if (auto *rich = qobject_cast<QTextEdit *>(focus))
        rich->selectAll();
    else if (auto *view = qobject_cast<QAbstractItemView *>(focus))
        view->selectAll();
}

void addFileMenu(QMenuBar *bar, MainWindow *window, const Commands &commands)
{
    QMenu *file = bar->addMenu(QCoreApplication::translate("AppMenus", "&File"));
    addCommand(file, QCoreApplication::translate("AppMenus", "&New Window"),
               QKeySequence(Qt::CTRL | Qt::Key_N), commands.newWindow);
    addCommand(file, QCoreApplication::translate("AppMenus", "&Import…"),
               QKeySequence(Qt::CTRL | Qt::Key_O),
               [window] { window->content()->showImportPanel(); });
    file->addSeparator();
    addCommand(file, QCoreApplication::translate("AppMenus", "&Save"),
               QKeySequence(Qt::CTRL | Qt::Key_S), post(NotificationName::saveRequested));
    QPointer<LibraryViewModel> library = window->library();
    addCommand(file, QCoreApplication::translate("AppMenus", "Save &All"),
               QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), [library] {
                   if (library)
                       detach(library->saveAllChanges());
               });
    addCommand(file, QCoreApplication::translate("AppMenus", "Re&load"),
               QKeySequence(Qt::CTRL | Qt::Key_R), post(NotificationName::reloadRequested));
    addCommand(file, QCoreApplication::translate("AppMenus", "Re&vert"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
               post(NotificationName::revertRequested));
    file->addSeparator();
    QMenu *exports = file->addMenu(QCoreApplication::translate("AppMenus", "E&xport"));
    for (const MetadataExportFormatter::Format format : MetadataExportFormatter::allCases()) {
        addCommand(exports,
                   QCoreApplication::translate("AppMenus", "Export Metadata as %1…")
                       .arg(MetadataExportFormatter::displayName(format)),
                   {}, [window, format] { window->content()->exportSelectedMetadata(format); });
    }
    file->addSeparator();
    addCommand(file, QCoreApplication::translate("AppMenus", "&Close"),
               QKeySequence(Qt::CTRL | Qt::Key_W), [window] { window->close(); });
    addCommand(file, QCoreApplication::translate("AppMenus", "&Quit"),
               QKeySequence(Qt::CTRL | Qt::Key_Q), commands.quit);
}

void addEditMenu(QMenuBar *bar, MainWindow *window)
{
    QMenu *edit = bar->addMenu(QCoreApplication::translate("AppMenus", "&Edit"));
    QPointer<LibraryViewModel> library = window->library();
    QAction *undo = addCommand(edit, QCoreApplication::translate("AppMenus", "&Undo"),
                               QKeySequence(Qt::CTRL | Qt::Key_Z), [window, library] {
                                   if (undoInField(window, false) || !library)
                                       return;
                                   if (library->undoesDatesNext())
                                       detach(library->undoDates());
                                   else
                                       library->undo();
                               });
    QAction *redo = addCommand(edit, QCoreApplication::translate("AppMenus", "&Redo"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [window, library] {
                                   if (!undoInField(window, true) && library)
                                       library->redo();
                               });
    const auto followLibrary = [library, undo, redo] {
        undo->setEnabled(library && (library->canUndo() || library->undoesDatesNext()));
        redo->setEnabled(library && library->canRedo());
    };
    followLibrary();
    QObject::connect(library, &LibraryViewModel::undoStateChanged, edit, followLibrary);
    QObject::connect(library, &LibraryViewModel::datesUndoChanged, edit, followLibrary);
    edit->addSeparator();
    addCommand(edit, QCoreApplication::translate("AppMenus", "Cu&t"), QKeySequence::Cut,
               [window] { cut(window); });
    addCommand(edit, QCoreApplication::translate("AppMenus", "&Copy"), QKeySequence::Copy,
               [window] { copy(window); });
    addCommand(edit, QCoreApplication::translate("AppMenus", "&Paste"),
               QKeySequence(Qt::CTRL | Qt::Key_V), [window] { paste(window); });
    addCommand(edit, QCoreApplication::translate("AppMenus", "Select &All"),
               QKeySequence::SelectAll, [window] { selectAll(window); });
    edit->addSeparator();
    // The selected files, or every file when none is selected.
    const auto chosenFiles = [library] {
        QList<QUuid> ids = library->selectedItemIDs();
        if (ids.isEmpty()) {
            for (const MediaItem &item : library->items())
                ids.append(item.id);
        }
        return ids;
    };
    addCommand(edit, QCoreApplication::translate("AppMenus", "Adjust &Dates…"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), [library, chosenFiles] {
                   if (library)
                       library->presentAdjustDates(chosenFiles());
               });
    addCommand(edit, QCoreApplication::translate("AppMenus", "Set File Dat&es from Capture Date"),
               {}, [library, chosenFiles] {
                   if (library)
                       detach(library->setFileDatesFromCapture(chosenFiles()));
               });
    QAction *undoDates = addCommand(
        edit, QCoreApplication::translate("AppMenus", "U&ndo Date Change"), {}, [library] {
            if (library)
                detach(library->undoDates());
        });
    undoDates->setEnabled(library && library->canUndoDates());
    QObject::connect(library, &LibraryViewModel::datesUndoChanged, undoDates, [library, undoDates] {
        undoDates->setEnabled(library && library->canUndoDates());
    });
    edit->addSeparator();
    edit->addAction(window->content()->findAction());
    edit->addSeparator();
    // Copies into the selected files; with one file selected, into it.
    QAction *copyFrom =
        addCommand(edit, QCoreApplication::translate("AppMenus", "Copy &Metadata From…"),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), [library] {
                       if (library)
                           library->presentCopyMetadata(library->selectedItemIDs());
                   });
    const auto followSelection = [library, copyFrom] {
        copyFrom->setEnabled(library && !library->selectedItemIDs().isEmpty());
    };
    followSelection();
    QObject::connect(library, &LibraryViewModel::selectedItemIDsChanged, edit, followSelection);
    edit->addSeparator();
    QAction *settings = addCommand(edit, QCoreApplication::translate("AppMenus", "&Settings…"),
                                   QKeySequence(Qt::CTRL | Qt::Key_Comma),
                                   post(NotificationName::metadataSettingsRequested));
    settings->setMenuRole(QAction::PreferencesRole);
}

void addViewMenu(QMenuBar *bar, MainWindow *window)
{
    QMenu *view = bar->addMenu(QCoreApplication::translate("AppMenus", "&View"));
    QAction *compact = view->addAction(QCoreApplication::translate("AppMenus", "&Compact Rows"));
    compact->setCheckable(true);
    compact->setChecked(EditorLook::compactRows());
    // Chosen in one window, the look changes in all of them, menus included.
    QObject::connect(compact, &QAction::toggled, view,
                     [](bool checked) { EditorLook::setCompactRows(checked); });
    NotificationCenter::defaultCenter()->addObserver(
        EditorLook::compactRowsChanged, compact,
        [compact] { compact->setChecked(EditorLook::compactRows()); });
    view->addSeparator();
    addCommand(view, QCoreApplication::translate("AppMenus", "&Expand All"), {},
               [window] { window->content()->editor()->expandAllGroups(); });
    addCommand(view, QCoreApplication::translate("AppMenus", "C&ollapse All"), {},
               [window] { window->content()->editor()->collapseAllGroups(); });
    view->addSeparator();
    // Two files side by side: only with exactly two selected.
    QPointer<LibraryViewModel> library = window->library();
    QAction *compare = addCommand(view, QCoreApplication::translate("AppMenus", "Co&mpare"),
                                  QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C), [library] {
                                      if (!library || library->selectedItemIDs().size() != 2)
                                          return;
                                      const QList<QUuid> ids = library->selectedItemIDs();
                                      library->presentCompare(ids.at(0), ids.at(1));
                                  });
    const auto followSelection = [library, compare] {
        compare->setEnabled(library && library->selectedItemIDs().size() == 2);
    };
    followSelection();
    QObject::connect(library, &LibraryViewModel::selectedItemIDsChanged, view, followSelection);
    view->addSeparator();
    QMenu *sort = view->addMenu(QCoreApplication::translate("AppMenus", "&Sort Files"));
    auto *orders = new QActionGroup(sort);
    const std::pair<ItemOrder, const char *> choices[] = {
        {ItemOrder::name, QT_TRANSLATE_NOOP("AppMenus", "By &Name")},
        {ItemOrder::captureDate, QT_TRANSLATE_NOOP("AppMenus", "By &Capture Date")},
        {ItemOrder::fileDate, QT_TRANSLATE_NOOP("AppMenus", "By &File Date")},
        {ItemOrder::imported, QT_TRANSLATE_NOOP("AppMenus", "As &Added")}};
    for (const auto &[order, title] : choices) {
        QAction *choice = addCommand(sort, QCoreApplication::translate("AppMenus", title), {},
                                     [library, order = order] {
                                         if (library)
                                             detach(library->setItemOrder(order));
                                     });
        choice->setCheckable(true);
        choice->setChecked(library && library->itemOrder() == order);
        orders->addAction(choice);
        QObject::connect(library, &LibraryViewModel::itemOrderChanged, choice,
                         [library, choice, order = order] {
                             choice->setChecked(library && library->itemOrder() == order);
                         });
    }
}

void addHelpMenu(QMenuBar *bar, MainWindow *window, const Commands &commands)
{
    QMenu *help = bar->addMenu(QCoreApplication::translate("AppMenus", "&Help"));
    addCommand(help, QCoreApplication::translate("AppMenus", "&About Metaloom"), {},
               post(NotificationName::aboutRequested))
        ->setMenuRole(QAction::AboutRole);
    QPointer<UpdaterController> updater = commands.updater;
    QAction *check = addCommand(
        help, QCoreApplication::translate("AppMenus", "Check for &Updates…"), {}, [updater] {
            if (updater)
                updater->checkForUpdates();
        });
    check->setEnabled(updater && updater->canCheckForUpdates());
    if (updater)
        QObject::connect(updater, &UpdaterController::canCheckForUpdatesChanged, check,
                         &QAction::setEnabled);
    help->addSeparator();
    help->addMenu(new VossaAppsMenu(QStringLiteral("metaloom"),
                                    QCoreApplication::translate("AppMenus", "&Other Apps"),
                                    window));
}

} // namespace

void install(MainWindow *window, const Commands &commands)
{
    QMenuBar *bar = window->menuBar();
    addFileMenu(bar, window, commands);
    addEditMenu(bar, window);
    addViewMenu(bar, window);
    addHelpMenu(bar, window, commands);
}

} // namespace Metaloom::AppMenus
