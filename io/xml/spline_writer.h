#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/note_set.h"

namespace velmora {

// Every control point prints as a line of at least this many bytes: its
// indent, the element with both coordinates, and the line end.
constexpr std::size_t kMinPrintedPointBytes = 43;

// The text of the file for these notes and this client size.
std::string PrintSplines(const NoteSet& notes, int32_t width, int32_t height);

}  // namespace velmora
