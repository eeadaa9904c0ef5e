#pragma once

#include <QDeadlineTimer>
#include <QFuture>
#include <QTest>

#include <chrono>

namespace Metaloom::Testing {

// Runs the event loop until the future finishes; false when the watchdog
// fires first. The watchdog only keeps a broken test from hanging.
template <typename T>
bool waitForFuture(const QFuture<T> &future,
                   std::chrono::milliseconds watchdog = std::chrono::seconds(30))
{
    QDeadlineTimer deadline(watchdog);
    while (!future.isFinished() && !deadline.hasExpired())
        QTest::qWait(5);
    return future.isFinished();
}

} // namespace Metaloom::Testing
