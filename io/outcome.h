#pragma once

#include <string>

namespace velmora {

// Whether a step on a file went through and, if not, why, for the user.
struct Outcome {
    bool ok = true;
    std::string reason;
};

// A step that writes a file. On success `path` is the file written, and
// `backup` the name under which the version it replaced was kept, or "".
struct WriteOutcome : Outcome {
    std::string path;
    std::string backup;
};

// "could not <step> "<path>": <the system's reason for `error`>".
std::string CouldNot(const std::string& step, const std::string& path, int error);

}  // namespace velmora
