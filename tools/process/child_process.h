#pragma once

#include <string>
#include <vector>

namespace velmora::tool {

struct ChildOutcome {
    bool started = false;  // the program could be run at all
    int exitCode = -1;     // its exit code; -1 when it did not exit normally
    std::string output;    // its standard output
    std::string error;     // when !started: why
};

// Runs the program `args[0]` (looked up in PATH) with the arguments, no
// shell in between, and waits for it. Its standard output is captured; its
// standard error goes to ours, or nowhere with `quiet`.
ChildOutcome RunChild(const std::vector<std::string>& args, bool quiet = false);

}  // namespace velmora::tool
