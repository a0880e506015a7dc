#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::fuzz {

// Reads the bytes as a spline file's text over the default notes, prints the
// notes read as the editor saves them and reads that text back, all in
// memory. Returns an empty string when the printed text is either refused by
// the save (it passes a read limit) or reads back without a warning to the
// same notes, else what went wrong.
std::string CheckTextRoundTrip(const uint8_t* data, size_t size);

}  // namespace velmora::fuzz
