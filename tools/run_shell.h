#pragma once

namespace velmora::tool {

// Runs `command` through /bin/sh -c and waits for it, with the signal mask
// and stop signals' handling a command started from a shell would have.
// Returns its wait status, or -1 with errno set when it could not start.
int RunShell(const char* command);

}  // namespace velmora::tool
