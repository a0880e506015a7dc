#pragma once

#include <cstdio>
#include <string>

namespace velmora::fuzz {

// Ends the fuzzer run when a check failed: says what failed, then traps so
// libFuzzer keeps the input as a crash.
inline void StopOnFailure(const char* target, const std::string& failure) {
    if (failure.empty())
        return;
    std::fprintf(stderr, "%s: %s\n", target, failure.c_str());
    __builtin_trap();
}

}  // namespace velmora::fuzz
