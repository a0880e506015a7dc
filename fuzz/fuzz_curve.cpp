// libFuzzer entry: control points through RebuildCurve and the canvas.
#include <cstddef>
#include <cstdint>

#include "fuzz/curve_check.h"
#include "fuzz/stop_on_failure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::StopOnFailure(
        "fuzz_curve", velmora::fuzz::CheckCurveInput(data, size, velmora::fuzz::kFuzzCurveSamples));
    return 0;
}
