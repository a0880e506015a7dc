#include "tools/compare/note_diff.h"

#include "tools/compare/sequence_match.h"
#include "tools/compare/spline_keys.h"

namespace velmora::tool {

namespace {

// The unmatched stretches of points of a changed spline; a stretch of equal
// counts is that many moved points, one each.
std::vector<PointChange> DiffPoints(const Spline& oldSpline, const Spline& newSpline) {
    std::vector<PointChange> changes;
    const std::vector<Key> a = PointKeys(oldSpline);
    const std::vector<Key> b = PointKeys(newSpline);
    for (const Gap& gap : GapsBetween(MatchSequences(a, b), a.size(), b.size())) {
        const std::size_t oldCount = gap.aEnd - gap.aBegin;
        const std::size_t newCount = gap.bEnd - gap.bBegin;
        if (oldCount == newCount) {
            for (std::size_t i = 0; i < oldCount; ++i)
                changes.push_back(PointChange{gap.aBegin + i, 1, gap.bBegin + i, 1});
        } else {
            changes.push_back(PointChange{gap.aBegin, oldCount, gap.bBegin, newCount});
        }
    }
    return changes;
}

}  // namespace

void ForEachChange(const NoteSet& oldNotes, const NoteSet& newNotes, const ChangeTaker& take) {
    for (int n = 0; n < kNoteCount; ++n) {
        const SplineList& a = oldNotes[static_cast<std::size_t>(n)];
        const SplineList& b = newNotes[static_cast<std::size_t>(n)];
        SplineKeys keys;
        const std::vector<Key> aKeys = keys.Of(a);
        const std::vector<Key> bKeys = keys.Of(b);
        for (const Gap& gap : GapsBetween(MatchSequences(aKeys, bKeys), a.size(), b.size())) {
            if (gap.aEnd - gap.aBegin == 1 && gap.bEnd - gap.bBegin == 1) {
                take(SplineChange{SplineChange::kChanged, n, gap.aBegin, gap.bBegin,
                                  DiffPoints(a[gap.aBegin], b[gap.bBegin])});
                continue;
            }
            for (std::size_t i = gap.aBegin; i < gap.aEnd; ++i)
                take(SplineChange{SplineChange::kRemoved, n, i, 0, {}});
            for (std::size_t j = gap.bBegin; j < gap.bEnd; ++j)
                take(SplineChange{SplineChange::kAdded, n, 0, j, {}});
        }
    }
}

std::vector<SplineChange> DiffNotes(const NoteSet& oldNotes, const NoteSet& newNotes) {
    std::vector<SplineChange> changes;
    ForEachChange(oldNotes, newNotes,
                  [&changes](const SplineChange& change) { changes.push_back(change); });
    return changes;
}

}  // namespace velmora::tool
