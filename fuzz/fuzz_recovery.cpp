// libFuzzer entry: any bytes read as a recovery copy. Reading never fails
// unsafely; a state it gives is one the editor can show, and written again
// whole it reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/stop_on_failure.h"
#include "recovery/recovery_record.h"

namespace {

std::string CheckCopy(std::string_view bytes) {
    using namespace velmora;
    const DecodedCopy copy = DecodeCopy(bytes);
    if (copy.status != CopyStatus::kRead)
        return std::string();
    if (!IsShowable(ViewOf(copy.state)))
        return "a copy read as a state the editor cannot show";
    static const SessionState kNothing;
    const std::string again =
        EncodeCopyStart(copy.header) +
        EncodeRecord(copy.meta, DiffStates(ViewOf(kNothing), ViewOf(copy.state)));
    const DecodedCopy reread = DecodeCopy(again);
    if (reread.status != CopyStatus::kRead || !(reread.state == copy.state) ||
        !(reread.meta == copy.meta) || reread.header.folder != copy.header.folder)
        return "a copy written again whole reads back otherwise";
    return std::string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::StopOnFailure(
        "fuzz_recovery", CheckCopy(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
