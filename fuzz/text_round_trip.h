#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::fuzz {

// Reads the bytes as a spline file's text over the default notes, with and
// without the reader's findings, prints the notes read as the editor saves
// them and reads that text back, all in memory. Returns an empty string when
// both reads agree, the load warned exactly when the save is refused (it
// passes a read limit), and an accepted save reads back without a warning to
// the same notes; else what went wrong.
std::string CheckTextRoundTrip(const uint8_t* data, size_t size);

}  // namespace velmora::fuzz
