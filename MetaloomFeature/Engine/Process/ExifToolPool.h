#pragma once

#include "StayOpenProtocol.h"

#include <QByteArray>
#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>
#include <QPromise>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>

namespace Metaloom {

class ResidentExifTool;

// What a resident ExifTool gave for one argument list.
struct ResidentRun {
    QByteArray standardOutput;
    QByteArray standardError;
    int exitStatus = 0;
    bool died = false; // it ended while working: output and error so far
};

// The ExifTool processes kept running for the whole program, so that an
// operation no longer waits for Perl to start and load ExifTool. A process
// serves one operation at a time. Processes with the same script and
// environment form a group and serve each other's operations; reads and
// writes run with the same environment, so one group serves a bundle.
//
// At most `maximumProcesses()` run at once, one per core by default (at
// least two), across all groups and all windows. An operation takes an idle
// process of its group, or starts one while there is room; otherwise it
// waits for one of its group to finish its work. An idle process of a
// bundle no service holds makes room for it; otherwise only a group that has
// no process at all takes the place of another group's idle one: a group
// that has one waits for it, because starting Perl and ExifTool anew costs
// more than most operations.
//
// Processes are started on first use and stopped when the program quits,
// when the last service on their bundle goes away, when their script
// changes on disk, to make room for a group without any, or after a few
// minutes without work. Main thread only.
class ExifToolPool : public QObject {
    Q_OBJECT

public:
    static ExifToolPool &shared();

    // Runs the request in a resident ExifTool of this program and
    // environment. A request the process never received is sent once more
    // to a fresh process. Throws PlatformError when ExifTool cannot be
    // started, stops making progress, answers out of protocol, or is stopped
    // because the program quits.
    QCoro::Task<ResidentRun> run(QString bundleDirectory, QString program,
                                 QProcessEnvironment environment,
                                 StayOpenProtocol::Request request);

    // Starts processes of this program and environment, idle, until its
    // group holds `count` (within the pool's maximum), so that work the user
    // asks for while background work keeps one busy need not wait for Perl
    // and ExifTool to start. Does nothing when not resident.
    void keepReady(const QString &bundleDirectory, const QString &program,
                   const QProcessEnvironment &environment, int count);

    // Services keep their bundle's processes: when the last service on a
    // bundle goes away, its processes stop (those at work once they finish).
    void holdBundle(const QString &bundleDirectory);
    void releaseBundle(const QString &bundleDirectory);

    // Kills every process now; operations in flight fail. Called when the
    // program quits.
    void stopAll();

    // Off: every run starts ExifTool anew, as a process of its own (kept for
    // comparison and for argument lists no resident process can take).
    bool isResident() const { return m_resident; }
    void setResident(bool resident) { m_resident = resident; }

    void setStallLimit(std::chrono::milliseconds limit) { m_stallLimit = limit; }
    std::chrono::milliseconds stallLimit() const { return m_stallLimit; }
    // One process per core, at least two.
    static int defaultMaximumProcesses();
    int maximumProcesses() const { return m_maximumProcesses; }
    void setMaximumProcesses(int count) { m_maximumProcesses = std::max(1, count); }

    QList<qint64> processIds() const;

    // How many processes were started, and the most that ran at once, since
    // the last reset: what the benchmarks and tests watch.
    int processesStarted() const { return m_processesStarted; }
    int mostProcessesAtOnce() const { return m_mostProcessesAtOnce; }
    void resetStatistics();

private:
    ExifToolPool();

    struct Group {
        QString bundleDirectory;
        QString program;
        QProcessEnvironment environment;
        QByteArray scriptStamp;
        QList<QPointer<ResidentExifTool>> processes;
    };

    // One operation's wish for a process of its group.
    struct Wish {
        QString key;
        QString bundleDirectory;
        QString program;
        QProcessEnvironment environment;
        QByteArray scriptStamp;
    };

    // An operation waiting; the pool hands it a process (marked busy) or,
    // when the program quits, nothing.
    struct Waiter {
        Wish wish;
        std::shared_ptr<QPromise<QPointer<ResidentExifTool>>> handOver;
    };

    QCoro::Task<QPointer<ResidentExifTool>> acquire(Wish wish);
    // A process for the wish now, if the rules above allow one.
    QPointer<ResidentExifTool> take(const Wish &wish);
    QPointer<ResidentExifTool> startProcess(Group &group);
    // The group of the wish, made when it has none yet.
    Group &groupFor(const Wish &wish);
    // The group's processes that can take work, retiring ones left out.
    int workingCount(const Group &group) const;
    bool isIdle(const QPointer<ResidentExifTool> &process) const;
    void release(const QPointer<ResidentExifTool> &process);
    bool stopAnIdleProcess(bool onlyOfUnheldBundles);
    void retire(const QPointer<ResidentExifTool> &process);
    void processEnded(ResidentExifTool *process);
    void forgetEndedProcesses();
    int usableCount() const;
    // Hands processes to waiters, oldest first, as far as the rules allow.
    void serveWaiters();
    void watchForQuit();

    QHash<QString, Group> m_groups;
    QSet<ResidentExifTool *> m_busy;
    QSet<ResidentExifTool *> m_retiring;
    QHash<QString, int> m_holds;
    std::deque<Waiter> m_waiters;
    bool m_resident = true;
    bool m_watchingForQuit = false;
    std::chrono::milliseconds m_stallLimit = std::chrono::minutes(2);
    std::chrono::milliseconds m_idleLimit = std::chrono::minutes(5);
    int m_maximumProcesses = defaultMaximumProcesses();
    int m_processesStarted = 0;
    int m_mostProcessesAtOnce = 0;
};

} // namespace Metaloom
