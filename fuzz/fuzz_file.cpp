// libFuzzer entry: any bytes as the spline file, loaded, shown, saved and
// loaded again.
#include <cstddef>
#include <cstdint>

#include "fuzz/file_round_trip.h"
#include "fuzz/stop_on_failure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::StopOnFailure("fuzz_file", velmora::fuzz::CheckFileRoundTrip(data, size));
    return 0;
}
