#include "ResidentExifTool.h"

#include "MetaloomFeature/Platform/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>

namespace Metaloom {

namespace {

// What changes while a process works: its CPU time (/proc/PID/stat, fields
// 14 and 15) and the bytes it read and wrote (/proc/PID/io). A process that
// waits (for a dead network share, a lock, input that never comes) changes
// none of them.
QByteArray progressOf(qint64 pid)
{
    QByteArray progress;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 13)
            progress += fields.at(11) + ' ' + fields.at(12);
    }
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (io.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : io.readAll().split('\n')) {
            if (line.startsWith("rchar:") || line.startsWith("wchar:"))
                progress += ' ' + line;
        }
    }
    return progress;
}

} // namespace

ResidentExifTool::ResidentExifTool(const QString &program, const QProcessEnvironment &environment,
                                   std::chrono::milliseconds stallLimit,
                                   std::chrono::milliseconds idleLimit, QObject *parent)
    : QObject(parent), m_stallLimit(stallLimit),
      // Numbers nobody can guess: a file's metadata cannot fake the end of
      // a command.
      m_nextId(QRandomGenerator::system()->bounded(1u << 30) + 1)
{
    m_process.setProgram(program);
    m_process.setArguments(StayOpenProtocol::startArguments());
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    // Every path it is given is absolute; a folder of the user's kept as its
    // working folder would keep that drive from being unmounted.
    m_process.setWorkingDirectory(QDir::rootPath());
    ChildProcess::prepare(m_process);

    connect(&m_process, &QProcess::readyReadStandardOutput, this, &ResidentExifTool::readOutput);
    connect(&m_process, &QProcess::readyReadStandardError, this, &ResidentExifTool::readError);
    connect(&m_process, &QProcess::bytesWritten, this,
            [this](qint64 bytes) { m_bytesDelivered += bytes; });
    connect(&m_process, &QProcess::finished, this, &ResidentExifTool::processEnded);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            processEnded(); // crashes and pipe errors end in finished() as well
    });

    // Checked a few times within the limit, but no more often than needed.
    m_progressCheck.setInterval(std::clamp(m_stallLimit / 4, std::chrono::milliseconds(50),
                                           std::chrono::milliseconds(5000)));
    connect(&m_progressCheck, &QTimer::timeout, this, &ResidentExifTool::checkProgress);
    m_idleEnd.setSingleShot(true);
    m_idleEnd.setInterval(idleLimit);
    connect(&m_idleEnd, &QTimer::timeout, this, &ResidentExifTool::abandon);
}

ResidentExifTool::~ResidentExifTool()
{
    disconnect(&m_process, nullptr, this, nullptr);
    if (m_promise)
        answer(Answer::Outcome::stopped);
    if (m_process.state() != QProcess::NotRunning) {
        ChildProcess::killGroup(m_process);
        m_process.waitForFinished(5000);
    }
}

void ResidentExifTool::start()
{
    m_process.start(QIODevice::ReadWrite);
}

QFuture<ResidentExifTool::Answer> ResidentExifTool::send(const StayOpenProtocol::Request &request)
{
    Q_ASSERT(!m_promise);
    m_promise = std::make_unique<QPromise<Answer>>();
    m_promise->start();
    QFuture<Answer> future = m_promise->future();
    const StayOpenProtocol::Request::Numbered numbered = request.numbered(m_nextId);
    m_nextId += quint32(numbered.ids.size());
    m_answers.emplace(numbered.ids);
    m_bytesDelivered = 0;
    if (m_ended) {
        // It failed to start or ended since it was handed out.
        answer(m_process.error() == QProcess::FailedToStart ? Answer::Outcome::launchFailed
                                                            : Answer::Outcome::notDelivered);
        return future;
    }
    m_idleEnd.stop();
    m_process.write(numbered.bytes);
    m_lastProgress.clear();
    m_sinceProgress.start();
    m_progressCheck.start();
    return future;
}

void ResidentExifTool::stop()
{
    if (m_promise)
        answer(Answer::Outcome::stopped);
    abandon();
}

void ResidentExifTool::readOutput()
{
    const QByteArray bytes = m_process.readAllStandardOutput();
    if (!m_answers) {
        abandon(); // nothing may come between requests
        return;
    }
    m_sinceProgress.start();
    m_answers->addOutput(bytes);
    settle();
}

void ResidentExifTool::readError()
{
    const QByteArray bytes = m_process.readAllStandardError();
    if (!m_answers) {
        abandon();
        return;
    }
    m_sinceProgress.start();
    m_answers->addError(bytes);
    settle();
}

void ResidentExifTool::settle()
{
    if (m_answers->isGarbled()) {
        answer(Answer::Outcome::garbled);
        abandon();
    } else if (m_answers->isComplete()) {
        answer(Answer::Outcome::answered);
    }
}

void ResidentExifTool::processEnded()
{
    if (m_promise && m_answers) {
        // What it printed before it ended may still complete the answer.
        m_answers->addOutput(m_process.readAllStandardOutput());
        m_answers->addError(m_process.readAllStandardError());
        if (m_answers->isComplete())
            answer(Answer::Outcome::answered);
        else if (m_process.error() == QProcess::FailedToStart)
            answer(Answer::Outcome::launchFailed);
        else
            answer(m_bytesDelivered == 0 ? Answer::Outcome::notDelivered : Answer::Outcome::died);
    }
    if (!m_ended) {
        m_ended = true;
        Q_EMIT ended();
    }
}

void ResidentExifTool::checkProgress()
{
    if (!m_promise)
        return;
    const QByteArray progress = progressOf(m_process.processId());
    if (progress != m_lastProgress) {
        m_lastProgress = progress;
        m_sinceProgress.start();
        return;
    }
    if (m_sinceProgress.elapsed() >= m_stallLimit.count()) {
        answer(Answer::Outcome::stalled);
        abandon();
    }
}

void ResidentExifTool::answer(Answer::Outcome outcome)
{
    m_progressCheck.stop();
    if (!m_ended)
        m_idleEnd.start();
    Answer result;
    result.outcome = outcome;
    if (m_answers) {
        result.standardOutput = m_answers->standardOutput();
        result.standardError = m_answers->standardError();
        result.exitStatus = m_answers->exitStatus();
    }
    if (outcome == Answer::Outcome::launchFailed)
        result.launchError = m_process.errorString();
    m_answers.reset();
    std::unique_ptr<QPromise<Answer>> promise = std::move(m_promise);
    promise->addResult(result);
    promise->finish();
}

void ResidentExifTool::abandon()
{
    if (m_process.state() != QProcess::NotRunning)
        ChildProcess::killGroup(m_process);
    if (!m_ended) {
        m_ended = true;
        Q_EMIT ended();
    }
}

} // namespace Metaloom
