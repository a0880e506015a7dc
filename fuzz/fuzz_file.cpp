// libFuzzer entry: any bytes as the spline file's text, read, printed as a
// save would write it and read back, in memory. (Saving to disk through the
// editor is covered by the tests of kept inputs and of the bad-input corpus.)
#include <cstddef>
#include <cstdint>

#include "fuzz/stop_on_failure.h"
#include "fuzz/text_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::StopOnFailure("fuzz_file", velmora::fuzz::CheckTextRoundTrip(data, size));
    return 0;
}
