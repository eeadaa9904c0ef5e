#include "StatusTimer.h"

#include <QTimer>

namespace Metaloom {

namespace {

class EventLoopStatusTimer : public StatusTimer {
public:
    EventLoopStatusTimer()
    {
        m_timer.setSingleShot(true);
        // Measured in whole milliseconds however busy the machine is; a
        // coarse timer could clear a message early.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            // Taken out first: the callback may start the timer again.
            std::function<void()> expired = std::exchange(m_expired, nullptr);
            if (expired)
                expired();
        });
    }

    void start(std::chrono::milliseconds delay, std::function<void()> expired) override
    {
        m_expired = std::move(expired);
        m_timer.start(delay);
    }

    void stop() override
    {
        m_timer.stop();
        m_expired = nullptr;
    }

private:
    QTimer m_timer;
    std::function<void()> m_expired;
};

} // namespace

std::unique_ptr<StatusTimer> makeEventLoopStatusTimer()
{
    return std::make_unique<EventLoopStatusTimer>();
}

} // namespace Metaloom
