#pragma once

#include <cstdint>
#include <string>

#include "model/note_set.h"

namespace velmora {

// The text of the file for these notes and this client size.
std::string PrintSplines(const NoteSet& notes, int32_t width, int32_t height);

}  // namespace velmora
