#include "StopSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace Metaloom::Cli {

namespace {

sigset_t stopSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    const sigset_t set = stopSet();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0)
        return;
    m_descriptor = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (m_descriptor < 0) {
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readSignal);
}

StopSignals::~StopSignals()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void StopSignals::readSignal()
{
    signalfd_siginfo info{};
    while (::read(m_descriptor, &info, sizeof info) == ssize_t(sizeof info)) {
        const int number = int(info.ssi_signo);
        if (m_received == 0) {
            m_received = number;
            continue;
        }
        // The second time: the signal's own effect, now.
        std::signal(number, SIG_DFL);
        const sigset_t set = stopSet();
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        ::raise(number);
    }
}

} // namespace Metaloom::Cli
