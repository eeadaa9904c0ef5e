#include "ExifToolPool.h"

#include "ResidentExifTool.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QCoroFuture>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace Metaloom {

namespace {

QString keyFor(const QString &program, const QProcessEnvironment &environment)
{
    QStringList variables = environment.toStringList();
    variables.sort();
    return program + QLatin1Char('\n') + variables.join(QChar(0));
}

// A script replaced or edited on disk (an update of the program) is run
// anew, as it would be if every operation started ExifTool.
QByteArray stampOf(const QString &program)
{
    struct stat status {};
    if (::stat(QFile::encodeName(program).constData(), &status) != 0)
        return QByteArray();
    return QByteArray::number(quint64(status.st_dev)) + ':' +
           QByteArray::number(quint64(status.st_ino)) + ':' +
           QByteArray::number(qint64(status.st_size)) + ':' +
           QByteArray::number(qint64(status.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qint64(status.st_mtim.tv_nsec)) + ':' +
           QByteArray::number(quint32(status.st_mode));
}

} // namespace

ExifToolPool &ExifToolPool::shared()
{
    // Never destroyed: its processes are killed when the application object
    // goes, and by the kernel when the program ends without one.
    static ExifToolPool *pool = [] {
        qAddPostRoutine([] { ExifToolPool::shared().stopAll(); });
        return new ExifToolPool;
    }();
    return *pool;
}

ExifToolPool::ExifToolPool() = default;

void ExifToolPool::watchForQuit()
{
    if (m_watchingForQuit || !QCoreApplication::instance())
        return;
    m_watchingForQuit = true;
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &ExifToolPool::stopAll);
}

int ExifToolPool::defaultMaximumProcesses()
{
    return std::max(2, QThread::idealThreadCount());
}

QCoro::Task<ResidentRun> ExifToolPool::run(QString bundleDirectory, QString program,
                                           QProcessEnvironment environment,
                                           StayOpenProtocol::Request request)
{
    watchForQuit();
    const Wish wish{keyFor(program, environment), bundleDirectory, program, environment,
                    QByteArray()};
    for (int attempt = 0;; ++attempt) {
        Wish current = wish;
        current.scriptStamp = stampOf(program);
        const QPointer<ResidentExifTool> process = co_await acquire(current);
        if (!process)
            throw PlatformError(QCoreApplication::translate(
                "ExifToolPool", "ExifTool was stopped because Metaloom is "
                                "quitting."));
        QFuture<ResidentExifTool::Answer> sent = process->send(request);
        const ResidentExifTool::Answer answer = co_await sent;
        release(process);

        using Outcome = ResidentExifTool::Answer::Outcome;
        switch (answer.outcome) {
        case Outcome::answered:
            co_return ResidentRun{answer.standardOutput, answer.standardError, answer.exitStatus,
                                  false};
        case Outcome::notDelivered:
            if (attempt == 0)
                continue;
            [[fallthrough]];
        case Outcome::died:
            co_return ResidentRun{answer.standardOutput, answer.standardError, -1, true};
        case Outcome::stalled:
            throw PlatformError(QCoreApplication::translate(
                "ExifToolPool", "ExifTool stopped responding and was ended."));
        case Outcome::garbled:
            throw PlatformError(QCoreApplication::translate(
                "ExifToolPool", "ExifTool gave an answer Metaloom could not "
                                "understand and was ended."));
        case Outcome::launchFailed:
            throw PlatformError(
                QCoreApplication::translate("ExifToolRunner", "ExifTool could not be started: %1")
                    .arg(answer.launchError));
        case Outcome::stopped:
            throw PlatformError(QCoreApplication::translate(
                "ExifToolPool", "ExifTool was stopped because Metaloom is "
                                "quitting."));
        }
    }
}

void ExifToolPool::keepReady(const QString &bundleDirectory, const QString &program,
                             const QProcessEnvironment &environment, int count)
{
    if (!m_resident)
        return;
    watchForQuit();
    forgetEndedProcesses();
    Group &group = groupFor(Wish{keyFor(program, environment), bundleDirectory, program,
                                 environment, stampOf(program)});
    while (workingCount(group) < count && usableCount() < m_maximumProcesses) {
        const QPointer<ResidentExifTool> started = startProcess(group);
        m_busy.remove(started); // ready for whoever comes first
    }
    serveWaiters();
}

QCoro::Task<QPointer<ResidentExifTool>> ExifToolPool::acquire(Wish wish)
{
    if (QPointer<ResidentExifTool> process = take(wish))
        co_return process;
    auto handOver = std::make_shared<QPromise<QPointer<ResidentExifTool>>>();
    handOver->start();
    QFuture<QPointer<ResidentExifTool>> turn = handOver->future();
    m_waiters.push_back(Waiter{std::move(wish), std::move(handOver)});
    co_return co_await turn;
}

ExifToolPool::Group &ExifToolPool::groupFor(const Wish &wish)
{
    auto found = m_groups.find(wish.key);
    if (found == m_groups.end()) {
        found = m_groups.insert(
            wish.key,
            Group{wish.bundleDirectory, wish.program, wish.environment, wish.scriptStamp, {}});
    }
    return *found;
}

QPointer<ResidentExifTool> ExifToolPool::take(const Wish &wish)
{
    forgetEndedProcesses();
    Group &group = groupFor(wish);
    if (group.scriptStamp != wish.scriptStamp) {
        group.scriptStamp = wish.scriptStamp;
        const QList<QPointer<ResidentExifTool>> stale = group.processes;
        for (const QPointer<ResidentExifTool> &process : stale)
            retire(process);
    }
    for (const QPointer<ResidentExifTool> &process : std::as_const(group.processes)) {
        if (isIdle(process)) {
            m_busy.insert(process);
            return process;
        }
    }
    if (usableCount() < m_maximumProcesses)
        return startProcess(group);
    // Full. An idle process of a bundle no service holds any more serves
    // nobody; it makes room. Otherwise a group with a process of its own
    // waits for it, and one without any takes the place of an idle process
    // of another group, if there is one.
    if (stopAnIdleProcess(true) || (workingCount(group) == 0 && stopAnIdleProcess(false))) {
        if (usableCount() < m_maximumProcesses)
            return startProcess(group);
    }
    return nullptr;
}

QPointer<ResidentExifTool> ExifToolPool::startProcess(Group &group)
{
    auto *process =
        new ResidentExifTool(group.program, group.environment, m_stallLimit, m_idleLimit, this);
    // Queued, so that no list is changed under the code that stopped it.
    connect(
        process, &ResidentExifTool::ended, process, [this, process] { processEnded(process); },
        Qt::QueuedConnection);
    group.processes.append(process);
    m_busy.insert(process);
    process->start();
    ++m_processesStarted;
    m_mostProcessesAtOnce = std::max(m_mostProcessesAtOnce, usableCount());
    return QPointer<ResidentExifTool>(process);
}

int ExifToolPool::workingCount(const Group &group) const
{
    return int(std::count_if(group.processes.cbegin(), group.processes.cend(),
                             [this](const QPointer<ResidentExifTool> &process) {
                                 return process && process->isUsable() &&
                                        !m_retiring.contains(process);
                             }));
}

bool ExifToolPool::isIdle(const QPointer<ResidentExifTool> &process) const
{
    return process && process->isUsable() && !m_busy.contains(process) &&
           !m_retiring.contains(process);
}

void ExifToolPool::release(const QPointer<ResidentExifTool> &process)
{
    if (!process)
        return;
    m_busy.remove(process);
    if (!process->isUsable()) {
        process->deleteLater();
    } else if (m_retiring.remove(process) || usableCount() > m_maximumProcesses) {
        process->stop(); // a smaller pool was asked for meanwhile
    }
    serveWaiters();
}

bool ExifToolPool::stopAnIdleProcess(bool onlyOfUnheldBundles)
{
    for (const Group &group : std::as_const(m_groups)) {
        if (onlyOfUnheldBundles && m_holds.contains(group.bundleDirectory))
            continue;
        for (const QPointer<ResidentExifTool> &process : group.processes) {
            if (isIdle(process)) {
                process->stop();
                return true;
            }
        }
    }
    return false;
}

void ExifToolPool::retire(const QPointer<ResidentExifTool> &process)
{
    if (!process)
        return;
    if (m_busy.contains(process))
        m_retiring.insert(process);
    else
        process->stop();
}

void ExifToolPool::processEnded(ResidentExifTool *process)
{
    for (Group &group : m_groups)
        group.processes.removeAll(process);
    m_retiring.remove(process);
    // A process still at work is let go by its operation, once answered.
    if (!m_busy.contains(process))
        process->deleteLater();
    serveWaiters();
}

void ExifToolPool::forgetEndedProcesses()
{
    for (auto it = m_groups.begin(); it != m_groups.end();) {
        it->processes.removeAll(nullptr);
        it = it->processes.isEmpty() ? m_groups.erase(it) : std::next(it);
    }
}

int ExifToolPool::usableCount() const
{
    int count = 0;
    for (const Group &group : m_groups) {
        for (const QPointer<ResidentExifTool> &process : group.processes)
            count += process && process->isUsable() ? 1 : 0;
    }
    return count;
}

void ExifToolPool::serveWaiters()
{
    // A waiter that cannot be served yet keeps its place; those behind it
    // (of other groups) may still be. The waiters resume once all are served.
    std::vector<std::pair<std::shared_ptr<QPromise<QPointer<ResidentExifTool>>>,
                          QPointer<ResidentExifTool>>>
        served;
    for (auto it = m_waiters.begin(); it != m_waiters.end();) {
        const QPointer<ResidentExifTool> process = take(it->wish);
        if (!process) {
            ++it;
            continue;
        }
        served.emplace_back(std::move(it->handOver), process);
        it = m_waiters.erase(it);
    }
    for (auto &[handOver, process] : served) {
        handOver->addResult(process);
        handOver->finish();
    }
}

void ExifToolPool::holdBundle(const QString &bundleDirectory)
{
    ++m_holds[bundleDirectory];
}

void ExifToolPool::releaseBundle(const QString &bundleDirectory)
{
    auto hold = m_holds.find(bundleDirectory);
    if (hold == m_holds.end() || --*hold > 0)
        return;
    m_holds.erase(hold);
    QList<QPointer<ResidentExifTool>> processes;
    for (const Group &group : std::as_const(m_groups)) {
        if (group.bundleDirectory == bundleDirectory)
            processes << group.processes;
    }
    for (const QPointer<ResidentExifTool> &process : processes)
        retire(process);
}

void ExifToolPool::stopAll()
{
    QList<QPointer<ResidentExifTool>> processes;
    for (const Group &group : std::as_const(m_groups))
        processes << group.processes;
    m_groups.clear();
    m_busy.clear();
    m_retiring.clear();
    for (const QPointer<ResidentExifTool> &process : processes)
        delete process.data(); // a request in flight is answered "stopped"
    std::deque<Waiter> waiters;
    waiters.swap(m_waiters);
    for (Waiter &waiter : waiters) {
        waiter.handOver->addResult(QPointer<ResidentExifTool>());
        waiter.handOver->finish();
    }
}

void ExifToolPool::resetStatistics()
{
    m_processesStarted = 0;
    m_mostProcessesAtOnce = usableCount();
}

QList<qint64> ExifToolPool::processIds() const
{
    QList<qint64> ids;
    for (const Group &group : m_groups) {
        for (const QPointer<ResidentExifTool> &process : group.processes) {
            if (process && process->isUsable())
                ids << process->processId();
        }
    }
    return ids;
}

} // namespace Metaloom
