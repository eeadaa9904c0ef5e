#include "UpdaterController.h"

#include "AppcastUpdater.h"
#include "UpdateCheckBridge.h"

#include <QTimer>

namespace Metaloom {

std::unique_ptr<UpdateBackend>
UpdaterController::Environment::standardBackend(bool startingUpdater, const AppInfo &info,
                                                UpdatePresenter present)
{
    return std::make_unique<AppcastUpdater>(info, startingUpdater, std::move(present));
}

void UpdaterController::Environment::standardScheduler(std::chrono::milliseconds delay,
                                                       QObject *context, std::function<void()> work)
{
    QTimer::singleShot(delay, context, std::move(work));
}

bool UpdaterController::isUpdaterConfigured(const AppInfo &info)
{
    const std::optional<QString> key = info.string(AppInfo::updatePublicKeyKey);
    return key && !key->isEmpty() && !key->startsWith(QStringLiteral("SPARKLE_"));
}

UpdaterController::UpdaterController(Environment environment, QObject *parent) : QObject(parent)
{
    const bool configured = isUpdaterConfigured(environment.info);
    QPointer<UpdaterController> weakSelf(this);
    m_backend = environment.makeBackend(configured, environment.info,
                                        [weakSelf](const UpdateCheckOutcome &outcome) {
                                            if (weakSelf)
                                                Q_EMIT weakSelf->outcomeToShow(outcome);
                                        });
    UpdateBackend *backend = m_backend.get();
    if (configured) {
        backend->setAutomaticallyChecksForUpdates(true);
        environment.schedule(backgroundCheckDelay, backend,
                             [backend] { backend->checkForUpdatesInBackground(); });
    }

    setCanCheckForUpdates(backend->canCheckForUpdates());
    connect(backend, &UpdateBackend::canCheckForUpdatesChanged, this,
            &UpdaterController::setCanCheckForUpdates);

    UpdateCheckBridge *bridge =
        environment.bridge ? environment.bridge : UpdateCheckBridge::shared();
    bridge->setAction([weakSelf] {
        if (weakSelf)
            weakSelf->checkForUpdates();
    });
    // The bridge is written from the event loop, never from inside a change
    // of the backend, so its observers always run on the main thread after
    // the backend settled.
    const auto forward = [bridge = QPointer<UpdateCheckBridge>(bridge)](bool canCheck) {
        if (!bridge)
            return;
        QMetaObject::invokeMethod(
            bridge,
            [bridge, canCheck] {
                if (bridge)
                    bridge->setCanCheck(canCheck);
            },
            Qt::QueuedConnection);
    };
    forward(backend->canCheckForUpdates());
    connect(backend, &UpdateBackend::canCheckForUpdatesChanged, bridge, forward);
}

UpdaterController::~UpdaterController() = default;

void UpdaterController::checkForUpdates()
{
    m_backend->checkForUpdates();
}

void UpdaterController::setCanCheckForUpdates(bool canCheck)
{
    if (m_canCheckForUpdates == canCheck)
        return;
    m_canCheckForUpdates = canCheck;
    Q_EMIT canCheckForUpdatesChanged(canCheck);
}

} // namespace Metaloom
