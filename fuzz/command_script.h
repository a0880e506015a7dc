#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::fuzz {

// Starts the editor on a headless host in the process's fuzz folder (with no
// spline file or one of a few small ones, chosen by the first byte) and plays
// the rest of the bytes as messages: presses, moves and releases anywhere,
// keys of the key table and others, scripted answers to the delete question,
// cursor changes, paint and the About command, on a 96 x 72 client area.
// Points are placed within +-4096. At most 300 messages, two saves (fewer once 16,384
// curve samples have been drawn), 32 splines per note and 128 points per
// spline are played. Returns an empty
// string when every editor invariant held after every message, else the
// first one that broke.
std::string RunCommandScript(const uint8_t* data, size_t size);

}  // namespace velmora::fuzz
