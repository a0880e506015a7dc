// libFuzzer entry: message sequences on the editor, checked after each one.
#include <cstddef>
#include <cstdint>

#include "fuzz/command_script.h"
#include "fuzz/stop_on_failure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::StopOnFailure("fuzz_commands", velmora::fuzz::RunCommandScript(data, size));
    return 0;
}
