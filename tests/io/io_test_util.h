#pragma once

#include <string>

#include "model/note_set.h"

namespace velmora::test {

// The text of a file in tests/data.
std::string DataFile(const std::string& name);

// The start-up note set for a client area: every note one default spline.
NoteSet DefaultNotes(const Rect& client);

// Notes that differ from anything a test file holds: note n is [(n, -n)].
NoteSet MarkedNotes();

constexpr Rect kClient480{0, 0, 480, 360};

}  // namespace velmora::test
