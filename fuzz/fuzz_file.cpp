// libFuzzer entry: any bytes as the spline file, loaded, shown, saved and
// loaded again.
#include <cstdio>
#include <string>

#include "fuzz/file_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = velmora::fuzz::CheckFileRoundTrip(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_file: %s\n", failure.c_str());
        __builtin_trap();
    }
    return 0;
}
