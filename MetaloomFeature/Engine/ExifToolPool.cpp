#include "ExifToolPool.h"

#include "ResidentExifTool.h"
#include "StayOpenProtocol.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QCoroFuture>
#include <QFile>

#include <algorithm>
#include <sys/stat.h>

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

QCoro::Task<ResidentRun> ExifToolPool::run(QString bundleDirectory, QString program,
                                           QProcessEnvironment environment, QStringList arguments)
{
    watchForQuit();
    if (!StayOpenProtocol::requestFor(arguments, 1))
        throw PlatformError(
            QStringLiteral("These arguments cannot be sent to a running ExifTool."));
    const QString key = keyFor(program, environment);
    for (int attempt = 0;; ++attempt) {
        const QPointer<ResidentExifTool> process =
            co_await acquire(key, bundleDirectory, program, environment);
        QFuture<ResidentExifTool::Answer> sent = process->send(arguments);
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
            throw PlatformError(QStringLiteral("ExifTool stopped responding and was ended."));
        case Outcome::garbled:
            throw PlatformError(QStringLiteral("ExifTool gave an answer Metaloom could not "
                                               "understand and was ended."));
        case Outcome::launchFailed:
            throw PlatformError(QStringLiteral("ExifTool could not be started: ") +
                                answer.launchError);
        case Outcome::stopped:
            throw PlatformError(QStringLiteral("ExifTool was stopped because Metaloom is "
                                               "quitting."));
        }
    }
}

QCoro::Task<QPointer<ResidentExifTool>> ExifToolPool::acquire(QString key, QString bundleDirectory,
                                                              QString program,
                                                              QProcessEnvironment environment)
{
    const QByteArray stamp = stampOf(program);
    for (;;) {
        forgetEndedProcesses();
        auto found = m_groups.find(key);
        if (found == m_groups.end())
            found = m_groups.insert(key, Group{bundleDirectory, program, environment, stamp, {}});
        Group &group = *found;
        if (group.scriptStamp != stamp) {
            group.scriptStamp = stamp;
            for (const QPointer<ResidentExifTool> &process : std::as_const(group.processes))
                retire(process);
        }
        for (const QPointer<ResidentExifTool> &process : std::as_const(group.processes)) {
            if (isIdle(process)) {
                m_busy.insert(process);
                co_return process;
            }
        }
        if (usableCount() >= m_maximumProcesses)
            stopAnIdleProcess();
        if (usableCount() < m_maximumProcesses) {
            auto *process =
                new ResidentExifTool(program, environment, m_stallLimit, m_idleLimit, this);
            // Queued, so that no list is changed under the code that stopped it.
            connect(
                process, &ResidentExifTool::ended, process,
                [this, process] { processEnded(process); }, Qt::QueuedConnection);
            group.processes.append(process);
            m_busy.insert(process);
            process->start();
            ++m_processesStarted;
            m_mostProcessesAtOnce = std::max(m_mostProcessesAtOnce, usableCount());
            co_return QPointer<ResidentExifTool>(process);
        }
        // Every process is at work: wait for one to finish or end.
        auto waiter = std::make_shared<QPromise<void>>();
        waiter->start();
        QFuture<void> turn = waiter->future();
        m_waiters.push_back(std::move(waiter));
        co_await turn;
    }
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
    } else if (m_retiring.remove(process)) {
        process->stop();
    }
    wakeAWaiter();
}

void ExifToolPool::stopAnIdleProcess()
{
    for (const Group &group : std::as_const(m_groups)) {
        for (const QPointer<ResidentExifTool> &process : group.processes) {
            if (isIdle(process)) {
                process->stop();
                return;
            }
        }
    }
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
    wakeAWaiter();
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

void ExifToolPool::wakeAWaiter()
{
    if (m_waiters.empty())
        return;
    std::shared_ptr<QPromise<void>> waiter = std::move(m_waiters.front());
    m_waiters.pop_front();
    waiter->finish();
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
    while (!m_waiters.empty())
        wakeAWaiter();
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
