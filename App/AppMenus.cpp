#include "AppMenus.h"

#include "MainWindow.h"
#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Updates/UpdaterController.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "VossaApps/VossaAppsMenu.h"

using VossaApps::VossaAppsMenu;

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
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
    addCommand(edit, QCoreApplication::translate("AppMenus", "&Paste"),
               QKeySequence(Qt::CTRL | Qt::Key_V), [window] { paste(window); });
    edit->addSeparator();
    QAction *settings = addCommand(edit, QCoreApplication::translate("AppMenus", "&Settings…"),
                                   QKeySequence(Qt::CTRL | Qt::Key_Comma),
                                   post(NotificationName::metadataSettingsRequested));
    settings->setMenuRole(QAction::PreferencesRole);
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
    addHelpMenu(bar, window, commands);
}

} // namespace Metaloom::AppMenus
