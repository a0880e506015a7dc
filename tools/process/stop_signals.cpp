#include "tools/process/stop_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

namespace velmora::tool {

namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    const sigset_t set = StopSet();
    if (pthread_sigmask(SIG_BLOCK, &set, &m_previous) == 0)
        m_fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

StopSignals::~StopSignals() {
    if (m_fd >= 0) {
        ::close(m_fd);
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
}

int StopSignals::Arrived() const {
    signalfd_siginfo info{};
    if (::read(m_fd, &info, sizeof info) != static_cast<ssize_t>(sizeof info))
        return 0;
    return static_cast<int>(info.ssi_signo);
}

}  // namespace velmora::tool
