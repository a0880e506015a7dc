// Starting programs, waiting for them and catching stop signals on POSIX
// systems: posix_spawn, a pidfd to wait on and a signalfd for the stops.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "tools/process/process.h"

extern char** environ;

namespace velmora::tool {

struct StopSignals::State {
    int fd = -1;
    sigset_t previous{};
};

namespace {

using Clock = std::chrono::steady_clock;

// How long a command's processes have to end after the stop signal.
constexpr auto kGrace = std::chrono::seconds(1);

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

// Starts the command in a group of its own (its id is the child's), with no
// signal blocked: Ctrl-C, passed on, stops it too.
pid_t StartShell(const char* command) {
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return -1;
    sigset_t none;
    sigemptyset(&none);
    const sigset_t stop = StopSet();
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

// Waits for the child to end, whatever signals arrive meanwhile.
int Reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Waits up to `ms` for the child to end or a stop signal to arrive;
// `ready` is a descriptor that is readable once the child has ended (-1:
// there is none, and a short wait stands in).
void WaitAWhile(int ready, int stopFd, int ms) {
    pollfd fds[] = {{stopFd, POLLIN, 0}, {ready, POLLIN, 0}};
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
    return reaped ? status : Reap(child);
}

// The exit of a child that ran, from its wait status.
ChildExit Exited(int status) {
    ChildExit exit;
    exit.started = true;
    exit.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    exit.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return exit;
}

}  // namespace

StopSignals::StopSignals() : m_state(std::make_unique<State>()) {
    const sigset_t set = StopSet();
    if (pthread_sigmask(SIG_BLOCK, &set, &m_state->previous) == 0)
        m_state->fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_state->fd < 0)
        m_error = std::string("could not catch SIGINT and SIGTERM: ") + std::strerror(errno);
}

StopSignals::~StopSignals() {
    if (m_state->fd >= 0) {
        ::close(m_state->fd);
        pthread_sigmask(SIG_SETMASK, &m_state->previous, nullptr);
    }
}

int StopSignals::Arrived() const {
    signalfd_siginfo info{};
    if (::read(m_state->fd, &info, sizeof info) != static_cast<ssize_t>(sizeof info))
        return 0;
    return static_cast<int>(info.ssi_signo);
}

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
    ::localtime_r(&seconds, &local);
    return local;
}

std::string StopSignals::WaitFor(Waitable ready) const {
    pollfd fds[] = {{static_cast<int>(ready.native), POLLIN, 0}, {m_state->fd, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR)
        return std::string("could not wait: ") + std::strerror(errno);
    return std::string();
}

ChildExit RunShell(const std::string& command, const StopSignals& stop, int& stopSignal) {
    stopSignal = 0;
    const pid_t child = StartShell(command.c_str());
    if (child < 0) {
        ChildExit failed;
        failed.error = std::string("could not run /bin/sh: ") + std::strerror(errno);
        return failed;
    }
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
        WaitAWhile(ready, stop.m_state->fd, 1000);
    }
    if (ready >= 0)
        ::close(ready);
    return Exited(status);
}

ChildExit RunProgram(const std::vector<std::string>& args, bool quiet) {
    ChildExit outcome;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        outcome.error = std::strerror(errno);
        return outcome;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        outcome.error = "could not run " + args[0] + ": " + std::strerror(spawned);
        return outcome;
    }
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0)
            output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    ::close(pipeEnds[0]);
    outcome = Exited(Reap(pid));
    outcome.output = std::move(output);
    return outcome;
}

std::string RunningProgram() {
    std::string path(4096, '\0');
    const ssize_t got = ::readlink("/proc/self/exe", path.data(), path.size());
    if (got <= 0 || static_cast<std::size_t>(got) >= path.size())
        return std::string();
    path.resize(static_cast<std::size_t>(got));
    return path;
}

}  // namespace velmora::tool
