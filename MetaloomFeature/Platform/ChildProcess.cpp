#include "MetaloomFeature/Platform/ChildProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Metaloom::ChildProcess {

namespace {

// Runs in the child between fork and exec (only async-signal-safe calls).
// If the program died before the signal was set up, the child has already
// been handed to another parent and stops at once.
void setUpChild(pid_t parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
    ::setpgid(0, 0);
    ::umask(077);
}

} // namespace

void prepare(QProcess &process)
{
    process.setChildProcessModifier([parent = ::getpid()] { setUpChild(parent); });
}

void killGroup(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
}

} // namespace Metaloom::ChildProcess
