#pragma once

#include <QObject>

class QSocketNotifier;

namespace Metaloom::Cli {

// Ctrl+C and SIGTERM while files are changed. The first one asks the batch
// to stop after the file at work, so no file is left half done; the second
// ends the program at once (the engine's replacement is safe against that
// too).
//
// The signals are blocked and read from a signalfd: the ExifTool processes
// started later inherit the blocked signals, so the Ctrl+C a terminal
// sends to the whole process group does not end the ExifTool at work
// either. Create it before any thread or child process is started.
class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // The signal that asked to stop, or 0.
    int received() const { return m_received; }

private:
    void readSignal();

    int m_descriptor = -1;
    int m_received = 0;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Metaloom::Cli
