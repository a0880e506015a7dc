#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/note_set.h"

namespace velmora::tool {

// Stretches of base splines that the two sides replaced differently. Both
// versions are in the merged note, ours first; indices count from 0, those
// of ours and theirs in the merged note.
struct MergeConflict {
    int note;
    std::size_t baseFirst, baseCount;
    std::size_t oursFirst, oursCount;
    std::size_t theirsFirst, theirsCount;
};

struct MergedNotes {
    NoteSet notes;
    std::vector<MergeConflict> conflicts;
};

// A three-way merge of every note, whole splines being the unit, each side
// matched to `base` by content (see MergeKeys). What one side changed, added
// or removed, the other leaving it as in the base, is taken from that side;
// the same change on both sides once; splines both sides added at the same
// place, with nothing removed there, are all kept, ours first (those both
// added once). Where both sides changed the same base splines, each putting
// one spline in the place of each, their points are merged the same way,
// spline by spline. What is left, base splines the two sides changed or
// removed differently, is a conflict: ours' version of the stretch, then
// theirs'; with `keepBase`, the base's version instead, and no conflict (for
// the base git builds from the common ancestors of a criss-cross merge). A
// base spline one side left alone and the other removed or changed is never
// kept beside that change, even where the two sides hold their splines in
// different orders. A note may come out empty.
MergedNotes MergeNotes(const NoteSet& base, const NoteSet& ours, const NoteSet& theirs,
                       bool keepBase = false);

// "conflict: note 1 splines 2-3 (ours) and 4 (theirs) replace spline 2 of
// the base", numbered from 1; a side that removed the stretch is named last:
// "conflict: note 0 spline 1 (ours) replaces spline 1 of the base, which
// theirs removed".
std::string ConflictLine(const MergeConflict& conflict);

}  // namespace velmora::tool
