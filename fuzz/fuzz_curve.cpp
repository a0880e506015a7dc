// libFuzzer entry: control points through RebuildCurve and the canvas.
#include <cstdio>
#include <string>

#include "fuzz/curve_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = velmora::fuzz::CheckCurveInput(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_curve: %s\n", failure.c_str());
        __builtin_trap();
    }
    return 0;
}
