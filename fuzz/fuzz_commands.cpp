// libFuzzer entry: message sequences on the editor, checked after each one.
#include <cstdio>
#include <string>

#include "fuzz/command_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = velmora::fuzz::RunCommandScript(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_commands: %s\n", failure.c_str());
        __builtin_trap();
    }
    return 0;
}
