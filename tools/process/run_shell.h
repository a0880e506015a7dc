#pragma once

#include "tools/process/stop_signals.h"

namespace velmora::tool {

// Runs `command` through /bin/sh -c, in a process group of its own, and
// waits for it, with the signal mask and stop signals' handling a command
// started from a shell would have. A stop signal arriving at `stop`
// meanwhile is passed on to the whole group, which is killed outright when
// it has not ended a second later, so that no process of the command
// outlives the wait; `stopSignal` is then that signal (else 0). Returns the
// command's wait status, or -1 with errno set when it could not start.
int RunShell(const char* command, const StopSignals& stop, int& stopSignal);

}  // namespace velmora::tool
