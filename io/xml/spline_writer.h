#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/note_set.h"

namespace velmora {

// Every control point prints as a line of at least this many bytes: its
// indent, the element with both coordinates, and the line end.
constexpr std::size_t kMinPrintedPointBytes = 43;

// The text of the file for these notes and this client size, with the line
// ends of this system's text files: CR LF on Windows, LF elsewhere.
std::string PrintSplines(const NoteSet& notes, int32_t width, int32_t height);

// `text` with each LF as this system's text-mode stream writes it: CR LF on
// Windows, as it is elsewhere.
std::string WithSystemLineEnds(std::string text);

// Where `a` first differs from `b` once every CR LF in either is read as LF
// (the same file saved on Linux and on Windows is the same text): an offset
// into `a`, a.size() when `a` ends first, npos when there is no difference.
std::size_t FirstDifferenceButLineEnds(std::string_view a, std::string_view b);
inline bool SameButLineEnds(std::string_view a, std::string_view b) {
    return FirstDifferenceButLineEnds(a, b) == std::string_view::npos;
}

}  // namespace velmora
