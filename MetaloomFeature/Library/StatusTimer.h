#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace Metaloom {

// The single pending clear of the status line. Starting it again replaces
// the pending call; tests hand the library a timer whose time they move on
// themselves instead of sleeping.
class StatusTimer {
public:
    virtual ~StatusTimer() = default;

    // Calls `expired` once, on the main thread, after `delay` has passed,
    // unless start() or stop() is called first.
    virtual void start(std::chrono::milliseconds delay, std::function<void()> expired) = 0;
    virtual void stop() = 0;
};

// A timer on the main thread's event loop (QTimer).
std::unique_ptr<StatusTimer> makeEventLoopStatusTimer();

} // namespace Metaloom
