#pragma once

#include <QObject>

namespace Metaloom {

// What the updater needs of an update mechanism: whether a check can start
// now (with a signal for every change), its own schedule of checks, a silent
// check and a visible one. A mechanism that was not started never reports
// that a check is possible and never checks.
class UpdateBackend : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool canCheckForUpdates() const = 0;
    virtual void setAutomaticallyChecksForUpdates(bool enabled) = 0;
    // Shows something only when a newer version is found.
    virtual void checkForUpdatesInBackground() = 0;
    // Shows its progress and result, whatever it is.
    virtual void checkForUpdates() = 0;

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool canCheck);
};

} // namespace Metaloom
