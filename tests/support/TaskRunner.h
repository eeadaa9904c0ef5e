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

struct DriveState {
    bool done = false;
    QEventLoop *loop = nullptr;
};

template <typename T>
QCoro::Task<void> driveTask(QCoro::Task<T> task, std::shared_ptr<TaskOutcome<T>> outcome,
                            std::shared_ptr<DriveState> state)
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
    state->done = true;
    if (state->loop)
        state->loop->quit();
}

} // namespace detail

// Runs the task on this thread's event loop until it finishes or the watchdog
// fires; exceptions are caught and reported in the outcome.
template <typename T>
TaskOutcome<T> runTask(QCoro::Task<T> task,
                       std::chrono::milliseconds timeout = std::chrono::seconds(120))
{
    auto outcome = std::make_shared<TaskOutcome<T>>();
    auto state = std::make_shared<detail::DriveState>();
    auto driver = detail::driveTask<T>(std::move(task), outcome, state);
    if (!state->done) {
        QEventLoop loop;
        state->loop = &loop;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &loop, &QEventLoop::quit);
        watchdog.start(timeout);
        loop.exec();
        state->loop = nullptr;
    }
    if (!state->done) {
        TaskOutcome<T> timedOut;
        timedOut.timedOut = true;
        return timedOut;
    }
    return *outcome;
}

} // namespace Metaloom::Testing
