#pragma once

#include "UpdateBackend.h"
#include "UpdateCheckOutcome.h"

#include "MetaloomFeature/Platform/AppInfo.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>

namespace Metaloom {

class UpdateCheckBridge;

// What the updater is built from: the information list, the update
// mechanism, a clock and the bridge to publish to.
struct UpdaterEnvironment {
    // Runs `work` once after `delay` on the main thread, unless `context` is
    // gone by then. The standard one is a single-shot timer; tests pass a
    // clock they advance themselves.
    using Scheduler = std::function<void(std::chrono::milliseconds delay, QObject *context,
                                         std::function<void()> work)>;
    // Creates the update mechanism, started or not, which shows what its
    // checks found through `present`.
    using BackendFactory = std::function<std::unique_ptr<UpdateBackend>(
        bool startingUpdater, const AppInfo &info, UpdatePresenter present)>;

    AppInfo info = AppInfo::main();
    BackendFactory makeBackend = standardBackend;
    Scheduler schedule = standardScheduler;
    UpdateCheckBridge *bridge = nullptr; // the shared bridge when none is given

    static std::unique_ptr<UpdateBackend> standardBackend(bool startingUpdater, const AppInfo &info,
                                                          UpdatePresenter present);
    static void standardScheduler(std::chrono::milliseconds delay, QObject *context,
                                  std::function<void()> work);
};

// The application's updater: decides whether updates may be checked at all,
// asks for one silent check shortly after launch, publishes whether a check
// can start now (to the menu and, through the bridge, to the settings sheet)
// and starts a check when the user asks. What a check found for the user to
// see leaves through outcomeToShow(), which the application connects to its
// dialog: the updater shows no window itself. One per process, created at
// launch.
class UpdaterController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)

public:
    static constexpr std::chrono::milliseconds backgroundCheckDelay{3000};

    using Environment = UpdaterEnvironment;

    explicit UpdaterController(Environment environment = Environment(), QObject *parent = nullptr);
    ~UpdaterController() override;

    // Whether the information list names an update-signing key: a non-empty
    // text that is not a "SPARKLE_" placeholder left in a template.
    static bool isUpdaterConfigured(const AppInfo &info);

    bool canCheckForUpdates() const { return m_canCheckForUpdates; }
    // A check the user asked for, with visible progress and result.
    void checkForUpdates();

    UpdateBackend *backend() const { return m_backend.get(); }

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool canCheck);
    // An outcome the update mechanism wants shown to the user.
    void outcomeToShow(const Metaloom::UpdateCheckOutcome &outcome);

private:
    void setCanCheckForUpdates(bool canCheck);

    std::unique_ptr<UpdateBackend> m_backend;
    bool m_canCheckForUpdates = false;
};

} // namespace Metaloom
