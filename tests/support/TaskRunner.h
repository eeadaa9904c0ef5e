#pragma once

#include <QCoroTask>
#include <QEventLoop>
#include <QString>
#include <QTimer>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

namespace Metaloom::Testing {

// What became of a coroutine run by runTask(): its value, its exception, or a
// timeout. QCoro::waitFor hangs when a task throws; this never does.
template <typename T> struct TaskOutcome {
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;
    std::optional<Value> value;
    std::exception_ptr error;
    bool timedOut = false;

    bool succeeded() const { return !timedOut && !error && value.has_value(); }
    // The error's user-visible text, or an empty string when there was none.
    QString errorMessage() const;
    // Rethrows the error, so a test can check its exact type.
    void rethrow() const
    {
        if (error)
            std::rethrow_exception(error);
    }
};

QString describeTestException(std::exception_ptr error);

template <typename T> QString TaskOutcome<T>::errorMessage() const
{
    if (timedOut)
        return QStringLiteral("<timed out>");
    return error ? describeTestException(error) : QString();
}

namespace detail {

template <typename T>
QCoro::Task<void> driveTask(QCoro::Task<T> task, std::shared_ptr<TaskOutcome<T>> outcome,
                            std::shared_ptr<bool> done)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
            outcome->value = std::monostate{};
        } else {
            outcome->value = co_await std::move(task);
        }
    } catch (...) {
        outcome->error = std::current_exception();
    }
    *done = true;
}

} // namespace detail

// Runs the task on this thread's event loop until it finishes or the watchdog
// fires; exceptions are caught and reported in the outcome.
template <typename T>
TaskOutcome<T> runTask(QCoro::Task<T> task,
                       std::chrono::milliseconds timeout = std::chrono::seconds(120))
{
    auto outcome = std::make_shared<TaskOutcome<T>>();
    auto done = std::make_shared<bool>(false);
    auto driver = detail::driveTask<T>(std::move(task), outcome, done);
    if (!*done) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(2);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, done] {
            if (*done)
                loop.quit();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &loop, &QEventLoop::quit);
        poll.start();
        watchdog.start(timeout);
        loop.exec();
    }
    if (!*done) {
        TaskOutcome<T> timedOut;
        timedOut.timedOut = true;
        return timedOut;
    }
    return *outcome;
}

} // namespace Metaloom::Testing
