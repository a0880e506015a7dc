#pragma once

#include <string>

namespace velmora {

// What a step on a file came to: ok, or what failed and why, for the user;
// the system's error number where a system call failed (0 otherwise); and,
// where a place in the file is known, its line and column (1-based, 0 when
// unknown). Every result of the file layer is or carries one.
struct Status {
    bool ok = true;
    std::string reason;
    int error = 0;
    int line = 0;
    int column = 0;
};

// A failure for `reason`, caused by the system's `error` where there is one.
Status Failed(std::string reason, int error = 0);

// A failure of a system call: the system's own text for `error`.
Status SystemFailure(int error);

// "could not <step> "<path>": <the system's text for `error`>", with `error`.
Status CouldNot(const std::string& step, const std::string& path, int error);

// A step that writes a file. On success `path` is the file written, and
// `backup` the name under which the version it replaced was kept, or "".
struct WriteOutcome : Status {
    std::string path;
    std::string backup;
};

}  // namespace velmora
