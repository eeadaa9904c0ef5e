#include "ExifToolProcess.h"

#include "MetaloomFeature/Platform/ChildProcess.h"

namespace Metaloom {

ExifToolProcess::ExifToolProcess(const QString &program, const QStringList &arguments,
                                 const QProcessEnvironment &environment, QObject *parent)
    : QObject(parent)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    // ExifTool never needs input here; an empty stdin keeps it from ever
    // waiting on a terminal or pipe.
    m_process.setStandardInputFile(QProcess::nullDevice());
    ChildProcess::prepare(m_process);

    connect(&m_process, &QProcess::readyReadStandardOutput, this,
            [this] { m_stdout += m_process.readAllStandardOutput(); });
    connect(&m_process, &QProcess::readyReadStandardError, this,
            [this] { m_stderr += m_process.readAllStandardError(); });
    connect(&m_process, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                m_exitCode = exitCode;
                m_exitStatus = status;
                complete();
            });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // crashes and read errors end in finished() as well
        m_failedToStart = true;
        m_errorString = m_process.errorString();
        complete();
    });
}

void ExifToolProcess::start()
{
    m_process.start(QIODevice::ReadOnly);
}

bool ExifToolProcess::exitedNormallyWithZero() const
{
    return !m_failedToStart && m_exitStatus == QProcess::NormalExit && m_exitCode == 0;
}

void ExifToolProcess::complete()
{
    if (m_completed)
        return;
    m_stdout += m_process.readAllStandardOutput();
    m_stderr += m_process.readAllStandardError();
    m_completed = true;
    Q_EMIT completed();
}

} // namespace Metaloom
