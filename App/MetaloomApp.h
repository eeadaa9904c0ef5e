#pragma once

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <optional>

namespace Metaloom {

class MainWindow;
class UpdaterController;

// The application: one kind of window, each with its own library and
// engine; the updater; the refresh of the companion apps catalog at launch.
// It holds no document state of its own.
class MetaloomApp : public QObject {
    Q_OBJECT

public:
    struct Options {
        // The resources every window's engine uses; the application's own
        // when not given.
        std::optional<ResourceBundle> bundle;
        // Fetch the companion apps list once at launch.
        bool refreshAppsCatalog = true;
    };

    explicit MetaloomApp(Options options, QObject *parent = nullptr);
    explicit MetaloomApp(QObject *parent = nullptr) : MetaloomApp(Options(), parent) {}
    ~MetaloomApp() override;

    UpdaterController *updater() const { return m_updater; }
    QList<MainWindow *> windows() const;

    // A new, empty window, shown.
    MainWindow *newWindow();
    // The first window, holding the files named at start.
    MainWindow *openFirstWindow(const QList<QUrl> &files = {});

    // Closes every window, asking about unsaved edits first; a Cancel keeps
    // the application running.
    void quit();

private:
    // Every window goes, its edits with it, and then the application.
    void closeAllForQuit();
    QCoro::Task<void> saveAllThenQuit(QList<QPointer<MainWindow>> edited);

    Options m_options;
    UpdaterController *m_updater;
    QList<QPointer<MainWindow>> m_windows;
    bool m_quitting = false;
};

// The files named on a command line (paths or file URLs), as absolute file
// URLs; options are left to the toolkit.
QList<QUrl> filesFromArguments(const QStringList &arguments);

} // namespace Metaloom
