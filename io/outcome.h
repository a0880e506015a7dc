#pragma once

#include <string>

namespace velmora {

// Whether a step on a file went through and, if not, why, for the user.
struct Outcome {
    bool ok = true;
    std::string reason;
};

// "could not <step> "<path>": <the system's reason for `error`>".
std::string CouldNot(const std::string& step, const std::string& path, int error);

}  // namespace velmora
