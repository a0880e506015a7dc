#include "tools/process/run_shell.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace velmora::tool {

namespace {

using Clock = std::chrono::steady_clock;

// How long a command's processes have to end after the stop signal.
constexpr auto kGrace = std::chrono::seconds(1);

// Starts the command in a group of its own (its id is the child's), with no
// signal blocked: Ctrl-C, passed on, stops it too.
pid_t Start(const char* command) {
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return -1;
    sigset_t none;
    sigemptyset(&none);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &stop);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    char shell[] = "/bin/sh";
    char dashC[] = "-c";
    char* argv[] = {shell, dashC, const_cast<char*>(command), nullptr};
    pid_t child = 0;
    const int error = posix_spawn(&child, shell, nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return child;
}

// Whether the child has ended (its wait status in `status`), without
// blocking.
bool Ended(pid_t child, int& status) {
    pid_t got = 0;
    do {
        got = ::waitpid(child, &status, WNOHANG);
    } while (got < 0 && errno == EINTR);
    return got == child || got < 0;
}

// Waits up to `ms` for the child to end or a stop signal to arrive;
// `ready` is a descriptor that is readable once the child has ended (-1:
// there is none, and a short wait stands in).
void Wait(int ready, const StopSignals& stop, int ms) {
    pollfd fds[] = {{stop.Fd(), POLLIN, 0}, {ready, POLLIN, 0}};
    ::poll(fds, ready >= 0 ? 2 : 1, ready >= 0 ? ms : (ms < 10 ? ms : 10));
}

// Passes `signal` on to the group, and kills whatever of it is left after
// the grace period; reaps the child.
int StopGroup(pid_t child, int signal) {
    ::kill(-child, signal);
    const Clock::time_point end = Clock::now() + kGrace;
    int status = 0;
    bool reaped = false;
    while (Clock::now() < end) {
        reaped = reaped || Ended(child, status);
        if (reaped && ::kill(-child, 0) != 0)
            return status;  // the whole group has gone
        ::usleep(5000);
    }
    ::kill(-child, SIGKILL);
    while (!reaped && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

int RunShell(const char* command, const StopSignals& stop, int& stopSignal) {
    stopSignal = 0;
    const pid_t child = Start(command);
    if (child < 0)
        return -1;
    // Debian 12's <sys/pidfd.h> lacks C linkage, so the system call is made itself.
    const int ready = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    int status = 0;
    for (;;) {
        if (Ended(child, status))
            break;
        if ((stopSignal = stop.Arrived()) != 0) {
            status = StopGroup(child, stopSignal);
            break;
        }
        Wait(ready, stop, 1000);
    }
    if (ready >= 0)
        ::close(ready);
    return status;
}

}  // namespace velmora::tool
