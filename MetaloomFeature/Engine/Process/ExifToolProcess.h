#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>

namespace Metaloom {

// One child process whose end is reported exactly once through completed(),
// whether it failed to start or ran and exited. Both pipes are drained as
// data arrives, so a child that writes megabytes never stalls.
class ExifToolProcess : public QObject {
    Q_OBJECT

public:
    ExifToolProcess(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment, QObject *parent = nullptr);

    void start();

    bool isCompleted() const { return m_completed; }
    bool failedToStart() const { return m_failedToStart; }
    QString errorString() const { return m_errorString; }
    // A crash counts as a failed run.
    bool exitedNormallyWithZero() const;
    int exitCode() const { return m_exitCode; }
    const QByteArray &standardOutput() const { return m_stdout; }
    const QByteArray &standardError() const { return m_stderr; }

Q_SIGNALS:
    void completed();

private:
    void complete();

    QProcess m_process;
    QByteArray m_stdout;
    QByteArray m_stderr;
    bool m_completed = false;
    bool m_failedToStart = false;
    QString m_errorString;
    int m_exitCode = -1;
    QProcess::ExitStatus m_exitStatus = QProcess::NormalExit;
};

} // namespace Metaloom
