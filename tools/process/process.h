#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "io/disk/waitable.h"

namespace velmora::tool {

// The local time of `seconds` since 1970, as the user's time zone has it.
std::tm LocalTime(std::time_t seconds);

// How a program started by this one ended.
struct ChildExit {
    bool started = false;  // it could be run at all
    std::string error;     // when !started: why, naming what could not be run
    int exitCode = -1;     // its exit code; -1 when it did not exit by itself
    int signal = 0;        // the signal that ended it, or 0
    std::string output;    // its standard output, where it is captured
};

// The user's requests to stop (Ctrl-C, or a service manager's stop), caught
// for as long as the object lives, so that a loop stops between two steps
// rather than in the middle of one. Afterwards they act as before.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // "" when the stop requests are caught, else why not.
    const std::string& Error() const { return m_error; }
    // The stop that has arrived (a signal number), or 0; never blocks.
    int Arrived() const;
    // Waits until a stop arrives or `ready` (a watch's) is ready. Returns ""
    // or, when the wait itself failed, why.
    std::string WaitFor(Waitable ready) const;

    struct State;

private:
    friend ChildExit RunShell(const std::string& command, const StopSignals& stop, int& stopSignal);

    std::unique_ptr<State> m_state;
    std::string m_error;
};

// Runs `command` through the system's shell, in a process group of its
// own, and waits for it, with the signal handling a command started from a
// shell would have. A stop arriving at `stop` meanwhile is passed on to the
// whole group, which is killed outright when it has not ended a second
// later, so that no process of the command outlives the wait; `stopSignal`
// is then that stop (else 0).
ChildExit RunShell(const std::string& command, const StopSignals& stop, int& stopSignal);

// Runs the program `args[0]` (looked up in PATH) with the arguments, no
// shell in between, and waits for it. Its standard output is captured; its
// standard error goes to ours, or nowhere with `quiet`.
ChildExit RunProgram(const std::vector<std::string>& args, bool quiet = false);

// The full path of the program running, or "" when the system cannot tell.
std::string RunningProgram();

}  // namespace velmora::tool
