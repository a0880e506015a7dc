// libFuzzer entry: any bytes through the reader's scan and through TinyXML;
// the scan never reports less nesting or fewer nodes than the parser builds.
#include <cstddef>
#include <cstdint>

#include "fuzz/stop_on_failure.h"
#include "fuzz/xml_scan_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::StopOnFailure("fuzz_xml_scan", velmora::fuzz::CheckXmlScan(data, size));
    return 0;
}
