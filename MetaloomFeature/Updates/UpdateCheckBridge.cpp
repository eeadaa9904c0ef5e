#include "UpdateCheckBridge.h"

namespace Metaloom {

UpdateCheckBridge *UpdateCheckBridge::shared()
{
    // Lives until the process ends, like the updater that feeds it.
    static auto *bridge = new UpdateCheckBridge;
    return bridge;
}

UpdateCheckBridge::UpdateCheckBridge(QObject *parent) : QObject(parent) {}

void UpdateCheckBridge::setCanCheck(bool canCheck)
{
    if (m_canCheck == canCheck)
        return;
    m_canCheck = canCheck;
    Q_EMIT canCheckChanged(canCheck);
}

void UpdateCheckBridge::setAction(std::function<void()> action)
{
    m_action = std::move(action);
    Q_EMIT actionChanged();
}

void UpdateCheckBridge::check()
{
    if (m_action)
        m_action();
}

} // namespace Metaloom
