#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "model/note_set.h"

namespace velmora::tool {

// A stretch of points of a changed spline: `oldCount` points of OLD from
// index `oldFirst` stand where `newCount` points of NEW from `newFirst` do.
// Equal counts are one moved point; one count zero, points added or removed;
// otherwise points replaced by others.
struct PointChange {
    std::size_t oldFirst, oldCount, newFirst, newCount;
};

// One spline of one note that differs. Indices count from 0.
struct SplineChange {
    enum Kind { kAdded, kRemoved, kChanged } kind;
    int note;
    std::size_t oldIndex;             // kRemoved, kChanged
    std::size_t newIndex;             // kAdded, kChanged
    std::vector<PointChange> points;  // kChanged
};

// What differs between what the editor shows for two note sets, in note
// order and, within a note, in list order. Splines are matched by content
// (a longest common subsequence of whole splines); one unmatched OLD spline
// and one unmatched NEW spline between two matched ones (or a matched one
// and an end) are one changed spline, whose points are matched the same way;
// any other unmatched stretch is removed OLD splines, then added NEW ones.
std::vector<SplineChange> DiffNotes(const NoteSet& oldNotes, const NoteSet& newNotes);

// Hands each change DiffNotes finds to `take`, in the same order, as soon as
// it is found, so that none need be held: two files of hundreds of
// thousands of splines differ in as many changes.
using ChangeTaker = std::function<void(const SplineChange&)>;
void ForEachChange(const NoteSet& oldNotes, const NoteSet& newNotes, const ChangeTaker& take);

}  // namespace velmora::tool
