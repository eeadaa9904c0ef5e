#pragma once

#include <QObject>

#include <functional>

namespace Metaloom {

// Lets the settings sheet, which cannot see the application's updater, show
// an update button and start a check. The updater sets the action and keeps
// `canCheck` current. Main thread only.
class UpdateCheckBridge : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheck READ canCheck WRITE setCanCheck NOTIFY canCheckChanged)

public:
    // The one bridge of the process, created on first use.
    static UpdateCheckBridge *shared();

    // A bridge of its own (tests).
    explicit UpdateCheckBridge(QObject *parent = nullptr);

    bool canCheck() const { return m_canCheck; }
    void setCanCheck(bool canCheck);

    bool hasAction() const { return bool(m_action); }
    void setAction(std::function<void()> action);

    // Runs the action when one is set; does nothing otherwise.
    void check();

Q_SIGNALS:
    void canCheckChanged(bool canCheck);
    void actionChanged();

private:
    bool m_canCheck = false;
    std::function<void()> m_action;
};

} // namespace Metaloom
