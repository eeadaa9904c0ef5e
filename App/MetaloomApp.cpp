#include "MetaloomApp.h"

#include "AppMenus.h"
#include "MainWindow.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Updates/UpdaterController.h"
#include "MetaloomFeature/Views/Settings/UpdateResultDialog.h"
#include "VossaApps/AppsCatalog.h"
#include "VossaApps/AppsLoader.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace Metaloom {

namespace {

// New windows step down and to the right of the one in front.
constexpr QPoint cascadeStep{28, 28};

} // namespace

MetaloomApp::MetaloomApp(Options options, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_updater(new UpdaterController({}, this))
{
    // The updater knows no windows: what a check found is shown here.
    connect(m_updater, &UpdaterController::outcomeToShow, this, &UpdateResultDialog::present);
    if (m_options.refreshAppsCatalog) {
        // Nothing waits for it; the outcome shows only in the catalog.
        VossaApps::AppsCatalog::shared()->refreshIfNeeded(VossaApps::AppsLoader::defaultFeedURL());
    }
}

MetaloomApp::~MetaloomApp()
{
    for (const QPointer<MainWindow> &window : std::as_const(m_windows))
        delete window.data();
}

QList<MainWindow *> MetaloomApp::windows() const
{
    QList<MainWindow *> open;
    for (const QPointer<MainWindow> &window : m_windows) {
        if (window)
            open.append(window);
    }
    return open;
}

MainWindow *MetaloomApp::newWindow()
{
    MainWindow *front = nullptr;
    if (auto *active = qobject_cast<MainWindow *>(QApplication::activeWindow()))
        front = active;
    else if (!windows().isEmpty())
        front = windows().constLast();

    auto *window = new MainWindow(m_options.bundle);
    m_windows.removeAll(nullptr);
    m_windows.append(window);
    AppMenus::Commands commands;
    commands.newWindow = [this] { newWindow(); };
    commands.quit = [this] { quit(); };
    commands.updater = m_updater;
    AppMenus::install(window, commands);
    if (front)
        window->move(front->pos() + cascadeStep);
    window->show();
    return window;
}

MainWindow *MetaloomApp::openFirstWindow(const QList<QUrl> &files)
{
    MainWindow *window = newWindow();
    window->openFiles(files);
    return window;
}

void MetaloomApp::quit()
{
    if (m_quitting)
        return;
    // One question for the edits of every window, asked by the first window
    // that has some; a Cancel leaves every window open.
    QList<QPointer<MainWindow>> edited;
    QStringList names;
    for (MainWindow *window : windows()) {
        const QStringList modified = window->modifiedFileNames();
        if (modified.isEmpty())
            continue;
        edited << window;
        names << modified;
    }
    m_quitting = true;
    if (edited.isEmpty()) {
        closeAllForQuit();
        return;
    }
    MainWindow *asking = edited.first();
    asking->raise();
    asking->activateWindow();
    QPointer<MetaloomApp> self(this);
    asking->askToSaveChanges(names, [self, edited](QMessageBox::StandardButton answer) {
        if (!self)
            return;
        switch (answer) {
        case QMessageBox::Save:
            self->saveAllThenQuit(edited);
            break;
        case QMessageBox::Discard:
            self->closeAllForQuit();
            break;
        default:
            self->m_quitting = false;
            break;
        }
    });
}

QCoro::Task<void> MetaloomApp::saveAllThenQuit(QList<QPointer<MainWindow>> edited)
{
    QPointer<MetaloomApp> self(this);
    for (const QPointer<MainWindow> &window : edited) {
        if (!window)
            continue;
        const bool saved = co_await window->library()->saveAllChanges();
        if (!self)
            co_return;
        // A file that kept its edits (a failure the report shows) keeps
        // every window open.
        if (!saved || (window && !window->library()->modifiedItemIDs().isEmpty())) {
            m_quitting = false;
            co_return;
        }
    }
    closeAllForQuit();
}

void MetaloomApp::closeAllForQuit()
{
    for (MainWindow *window : windows())
        window->closeWithoutAsking();
    m_quitting = false;
    QCoreApplication::quit();
}

QList<QUrl> filesFromArguments(const QStringList &arguments)
{
    QList<QUrl> files;
    for (const QString &argument : arguments) {
        const QUrl url(argument);
        if (url.isLocalFile())
            files.append(url);
        else if (!argument.isEmpty())
            files.append(QUrl::fromLocalFile(QFileInfo(argument).absoluteFilePath()));
    }
    return files;
}

} // namespace Metaloom
