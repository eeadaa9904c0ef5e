#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace Metaloom {

// Process-wide publish/subscribe by name, on the main thread. The menu
// commands post a name and every main window that observes it acts on its
// own library; nobody needs to know who listens. A name posted while no one
// observes it is dropped.
class NotificationCenter : public QObject {
    Q_OBJECT

public:
    // The center every part of the program shares.
    static NotificationCenter *defaultCenter();

    // A center of its own (tests).
    explicit NotificationCenter(QObject *parent = nullptr);

    // Calls `handler` each time `name` is posted, until `context` is
    // destroyed or the returned connection is disconnected. Handlers run
    // synchronously inside post(), in the order they were added.
    QMetaObject::Connection addObserver(const QString &name, QObject *context,
                                        std::function<void()> handler);

    // Tells every observer of `name`; no sender and no further information.
    void post(const QString &name);

Q_SIGNALS:
    void posted(const QString &name);
};

// The names of the menu commands that reach every main window.
namespace NotificationName {

inline const QString saveRequested = QStringLiteral("Metaloom.saveRequested");
inline const QString reloadRequested = QStringLiteral("Metaloom.reloadRequested");
inline const QString revertRequested = QStringLiteral("Metaloom.revertRequested");
inline const QString metadataSettingsRequested =
    QStringLiteral("Metaloom.metadataSettingsRequested");
inline const QString aboutRequested = QStringLiteral("Metaloom.aboutRequested");

} // namespace NotificationName

} // namespace Metaloom
