#pragma once

#include "StayOpenProtocol.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFuture>
#include <QObject>
#include <QProcess>
#include <QPromise>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

namespace Metaloom {

// One ExifTool kept running between commands ("-stay_open"), serving one
// request at a time. Main thread only.
//
// A process that ends, stops making progress for the stall limit (no CPU
// time used, no byte read or written) or prints what the protocol does not
// allow is killed; the request in flight is answered with what happened,
// and the process is no longer usable. One left idle for the idle limit
// ends too: ExifTool grows to a hundred megabytes once it has loaded every
// tag table, which is not kept while nobody works with files.
class ResidentExifTool : public QObject {
    Q_OBJECT

public:
    struct Answer {
        enum class Outcome {
            answered,     // every command ended; output, error and status hold
            notDelivered, // the process was gone before it received the request
            died,         // it ended while working; output and error so far
            stalled,      // no progress for the stall limit; killed
            garbled,      // it printed what the protocol does not allow; killed
            launchFailed, // it could not be started (launchError)
            stopped       // stopped from outside while working
        };
        Outcome outcome = Outcome::answered;
        QByteArray standardOutput;
        QByteArray standardError;
        int exitStatus = 0;
        QString launchError;
    };

    ResidentExifTool(const QString &program, const QProcessEnvironment &environment,
                     std::chrono::milliseconds stallLimit, std::chrono::milliseconds idleLimit,
                     QObject *parent = nullptr);
    // Kills the process; a request in flight is answered `stopped`.
    ~ResidentExifTool() override;

    void start();
    // Started or starting, and usable for a further request.
    bool isUsable() const { return !m_ended; }
    bool isBusy() const { return m_promise != nullptr; }
    qint64 processId() const { return m_process.processId(); }

    // Sends the request, its commands numbered where this process's numbers
    // stand. One request at a time; the answer arrives through the future.
    QFuture<Answer> send(const StayOpenProtocol::Request &request);

    // Kills the process now; a request in flight is answered `stopped`.
    void stop();

Q_SIGNALS:
    // The process is gone or no longer usable. Emitted once.
    void ended();

private:
    void readOutput();
    void readError();
    void settle();
    void processEnded();
    void checkProgress();
    void answer(Answer::Outcome outcome);
    // Kills the process (if still running) and marks it unusable.
    void abandon();

    QProcess m_process;
    std::chrono::milliseconds m_stallLimit;
    quint32 m_nextId;
    bool m_ended = false;

    // The request in flight.
    std::unique_ptr<QPromise<Answer>> m_promise;
    std::optional<StayOpenProtocol::Answers> m_answers;
    qint64 m_bytesDelivered = 0;

    QTimer m_idleEnd;
    QTimer m_progressCheck;
    QByteArray m_lastProgress;
    QElapsedTimer m_sinceProgress;
};

} // namespace Metaloom
