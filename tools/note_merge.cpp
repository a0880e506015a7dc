#include "tools/note_merge.h"

#include <algorithm>

#include "tools/sequence_match.h"
#include "tools/spline_keys.h"

namespace velmora::tool {

namespace {

// Base splines [baseBegin, baseEnd) that one side replaced by its splines
// [sideBegin, sideEnd).
struct Hunk {
    std::size_t baseBegin, baseEnd, sideBegin, sideEnd;
    int side;  // 0 ours, 1 theirs
};

// Hunks are placed on a line where base spline i is at 2i+1 and the gap
// before it at 2i: an insertion covers its gap, a replacement its splines
// and the gaps between them. Hunks of the two sides that cover a common
// place touch the same part of the base.
std::size_t Low(const Hunk& h) {
    return h.baseBegin == h.baseEnd ? 2 * h.baseBegin : 2 * h.baseBegin + 1;
}
std::size_t High(const Hunk& h) {
    return h.baseBegin == h.baseEnd ? 2 * h.baseBegin : 2 * h.baseEnd - 1;
}

using Stretch = std::vector<const Spline*>;

class NoteMerger {
public:
    NoteMerger(const SplineList& base, const SplineList& ours, const SplineList& theirs)
        : m_base(base), m_sides{&ours, &theirs} {
        m_baseKeys = m_keys.Of(base);
        m_sideKeys[0] = m_keys.Of(ours);
        m_sideKeys[1] = m_keys.Of(theirs);
    }

    SplineList Merge(int note, std::vector<MergeConflict>& conflicts) {
        std::vector<Hunk> hunks;
        for (int side = 0; side < 2; ++side) {
            const std::vector<Key>& keys = m_sideKeys[side];
            for (const Gap& g :
                 GapsBetween(MatchSequences(m_baseKeys, keys), m_base.size(), keys.size()))
                hunks.push_back(Hunk{g.aBegin, g.aEnd, g.bBegin, g.bEnd, side});
        }
        std::stable_sort(hunks.begin(), hunks.end(),
                         [](const Hunk& a, const Hunk& b) { return Low(a) < Low(b); });
        std::size_t next = 0;  // the first base spline not yet placed
        for (std::size_t first = 0; first < hunks.size();) {
            std::size_t last = first + 1;
            std::size_t high = High(hunks[first]);
            while (last < hunks.size() && Low(hunks[last]) <= high)
                high = std::max(high, High(hunks[last++]));
            const std::vector<Hunk> group(hunks.begin() + static_cast<long>(first),
                                          hunks.begin() + static_cast<long>(last));
            std::size_t begin = group.front().baseBegin;
            std::size_t end = begin;
            for (const Hunk& h : group) {
                begin = std::min(begin, h.baseBegin);
                end = std::max(end, h.baseEnd);
            }
            Place(BaseStretch(next, begin));
            MergeGroup(note, group, begin, end, conflicts);
            next = end;
            first = last;
        }
        Place(BaseStretch(next, m_base.size()));
        return m_out;
    }

private:
    Stretch BaseStretch(std::size_t begin, std::size_t end) const {
        Stretch s;
        for (std::size_t i = begin; i < end; ++i)
            s.push_back(&m_base[i]);
        return s;
    }

    // The base splines [begin, end) with the group's hunks of one side applied.
    Stretch Version(const std::vector<Hunk>& group, int side, std::size_t begin,
                    std::size_t end) const {
        Stretch s;
        std::size_t at = begin;
        for (const Hunk& h : group) {
            if (h.side != side)
                continue;
            const Stretch kept = BaseStretch(at, h.baseBegin);
            s.insert(s.end(), kept.begin(), kept.end());
            for (std::size_t j = h.sideBegin; j < h.sideEnd; ++j)
                s.push_back(&(*m_sides[side])[j]);
            at = h.baseEnd;
        }
        const Stretch rest = BaseStretch(at, end);
        s.insert(s.end(), rest.begin(), rest.end());
        return s;
    }

    static bool Same(const Stretch& a, const Stretch& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const Spline* x, const Spline* y) { return *x == *y; });
    }

    // Splines both sides inserted at one place: the ones both drew once, the
    // others where they stand, ours before theirs.
    Stretch Interleave(const Stretch& ours, const Stretch& theirs) {
        SplineKeys keys;
        SplineList a, b;
        for (const Spline* s : ours)
            a.push_back(*s);
        for (const Spline* s : theirs)
            b.push_back(*s);
        const std::vector<Key> aKeys = keys.Of(a);
        const std::vector<Key> bKeys = keys.Of(b);
        Stretch out;
        std::size_t i = 0;
        std::size_t j = 0;
        const auto upTo = [&](std::size_t iEnd, std::size_t jEnd) {
            out.insert(out.end(), ours.begin() + static_cast<long>(i),
                       ours.begin() + static_cast<long>(iEnd));
            out.insert(out.end(), theirs.begin() + static_cast<long>(j),
                       theirs.begin() + static_cast<long>(jEnd));
        };
        for (const auto& [mi, mj] : MatchSequences(aKeys, bKeys)) {
            upTo(mi, mj);
            out.push_back(ours[mi]);
            i = mi + 1;
            j = mj + 1;
        }
        upTo(ours.size(), theirs.size());
        return out;
    }

    void MergeGroup(int note, const std::vector<Hunk>& group, std::size_t begin, std::size_t end,
                    std::vector<MergeConflict>& conflicts) {
        const Stretch ours = Version(group, 0, begin, end);
        const Stretch theirs = Version(group, 1, begin, end);
        if (group.size() == 1 || Same(ours, theirs)) {
            Place(group.size() == 1 && group.front().side == 1 ? theirs : ours);
        } else if (begin == end) {
            Place(Interleave(ours, theirs));
        } else {
            const std::size_t at = m_out.size();
            conflicts.push_back(MergeConflict{note, begin, end - begin, at, ours.size(),
                                              at + ours.size(), theirs.size()});
            Place(ours);
            Place(theirs);
        }
    }

    void Place(const Stretch& s) {
        for (const Spline* spline : s)
            m_out.push_back(*spline);
    }

    const SplineList& m_base;
    const SplineList* m_sides[2];
    SplineKeys m_keys;
    std::vector<Key> m_baseKeys;
    std::vector<Key> m_sideKeys[2];
    SplineList m_out;
};

// "spline 2" or "splines 2-3", numbered from 1.
std::string Splines(std::size_t first, std::size_t count) {
    if (count == 1)
        return "spline " + std::to_string(first + 1);
    return "splines " + std::to_string(first + 1) + "-" + std::to_string(first + count);
}

// "2" or "2-3".
std::string Numbers(std::size_t first, std::size_t count) {
    const std::string words = Splines(first, count);
    return words.substr(words.find(' ') + 1);
}

}  // namespace

MergedNotes MergeNotes(const NoteSet& base, const NoteSet& ours, const NoteSet& theirs) {
    MergedNotes merged;
    for (int n = 0; n < kNoteCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        merged.notes[i] = NoteMerger(base[i], ours[i], theirs[i]).Merge(n, merged.conflicts);
    }
    return merged;
}

std::string ConflictLine(const MergeConflict& c) {
    const std::string head = "conflict: note " + std::to_string(c.note) + " ";
    const std::string tail = " of the base";
    const std::string base = Splines(c.baseFirst, c.baseCount);
    if (c.oursCount == 0 || c.theirsCount == 0) {
        const bool ours = c.theirsCount == 0;
        const std::size_t count = ours ? c.oursCount : c.theirsCount;
        return head + Splines(ours ? c.oursFirst : c.theirsFirst, count) +
               (ours ? " (ours) " : " (theirs) ") + (count == 1 ? "replaces " : "replace ") + base +
               tail + ", which " + (ours ? "theirs" : "ours") + " removed";
    }
    return head + "splines " + Numbers(c.oursFirst, c.oursCount) + " (ours) and " +
           Numbers(c.theirsFirst, c.theirsCount) + " (theirs) replace " + base + tail;
}

}  // namespace velmora::tool
