#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::fuzz {

// Writes the bytes as Splines.xml in the process's fuzz folder, starts the
// editor on a headless host (load, repair, show), shows every spline of every
// note with the keypad plus and Right keys (at most 128 steps per note, none
// once two million curve samples have been shown), saves with S and starts a
// second editor on the saved file. Returns an empty string when the second
// editor holds the same note set as the first, else what went wrong.
std::string CheckFileRoundTrip(const uint8_t* data, size_t size);

}  // namespace velmora::fuzz
