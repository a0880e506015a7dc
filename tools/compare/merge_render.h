#pragma once

#include <string>
#include <vector>

#include "model/note_set.h"
#include "tools/compare/note_merge.h"

namespace velmora::tool {

// Writes one PNG into `dir` (created if missing) per conflict of `merged`,
// "note<N>-conflict<K>.png" (K counting the note's conflicts from 1): the
// editor's canvas of the note with ours' and theirs' splines of the
// conflict and, beneath both, the base's splines they replace, with words
// below that say which is which. Returns "" or why a picture could not be
// written.
std::string WriteMergePictures(const MergedNotes& merged, const NoteSet& base,
                               const std::string& dir);

}  // namespace velmora::tool
