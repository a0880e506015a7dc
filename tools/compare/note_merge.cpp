#include "tools/compare/note_merge.h"

#include <algorithm>
#include <optional>

#include "tools/compare/spline_keys.h"
#include "tools/compare/three_way_merge.h"

namespace velmora::tool {

namespace {

// The points of three versions of one spline merged as a note's splines
// are, or nothing when the two sides changed the same points differently.
std::optional<Spline> MergePoints(const Spline& base, const Spline& ours, const Spline& theirs) {
    if (ours == base)
        return theirs;
    if (theirs == base || ours == theirs)
        return ours;
    const KeyMerge merge = MergeKeys(PointKeys(base), PointKeys(ours), PointKeys(theirs));
    if (!merge.conflicts.empty())
        return std::nullopt;
    const Spline* versions[] = {&base, &ours, &theirs};
    Spline out;
    for (const Source& s : merge.merged)
        out.push_back((*versions[static_cast<int>(s.side)])[s.index]);
    return out;
}

class NoteMerger {
public:
    NoteMerger(int note, const SplineList& base, const SplineList& ours, const SplineList& theirs)
        : m_note(note), m_versions{&base, &ours, &theirs} {
        for (const Side side : {Side::kBase, Side::kOurs, Side::kTheirs})
            m_keyOf[static_cast<int>(side)] = m_keys.Of(Version(side));
        for (int side = 0; side < 3; ++side)
            m_count[side] = Counts(m_keyOf[side]);
    }

    SplineList Merge(bool keepBase, std::vector<MergeConflict>& conflicts) {
        const KeyMerge merge =
            MergeKeys(KeysOf(Side::kBase), KeysOf(Side::kOurs), KeysOf(Side::kTheirs));
        const std::size_t firstConflict = conflicts.size();
        std::size_t next = 0;
        for (const KeyConflict& c : merge.conflicts) {
            for (; next < c.at; ++next)
                Place(SplineAt(merge.merged[next]), false);
            const auto first = merge.merged.begin() + static_cast<long>(c.at);
            const std::vector<Source> ours(first, first + static_cast<long>(c.oursCount));
            const std::vector<Source> theirs(
                first + static_cast<long>(c.oursCount),
                first + static_cast<long>(c.oursCount + c.theirsCount));
            next = c.at + c.oursCount + c.theirsCount;
            if (std::optional<SplineList> points =
                    c.oneToOne ? MergeEachSpline(c, ours, theirs) : std::nullopt) {
                for (const Spline& spline : *points)
                    Place(spline, false);
            } else if (OnlyMoved(ours, Side::kOurs, c) || OnlyMoved(theirs, Side::kTheirs, c)) {
                for (const Source& s : OnlyMoved(ours, Side::kOurs, c) ? theirs : ours)
                    Place(SplineAt(s), false);
            } else if (keepBase) {
                for (std::size_t i = 0; i < c.baseCount; ++i)
                    Place(Version(Side::kBase)[c.baseFirst + i], false);
            } else {
                const std::size_t at = m_out.size();
                conflicts.push_back(MergeConflict{m_note, c.baseFirst, c.baseCount, at, ours.size(),
                                                  at + ours.size(), theirs.size()});
                for (const Source& s : ours)
                    Place(SplineAt(s), true);
                for (const Source& s : theirs)
                    Place(SplineAt(s), true);
            }
        }
        for (; next < merge.merged.size(); ++next)
            Place(SplineAt(merge.merged[next]), false);
        DropStaleCopies(conflicts.begin() + static_cast<long>(firstConflict), conflicts.end());
        return std::move(m_out);
    }

private:
    const SplineList& Version(Side side) const { return *m_versions[static_cast<int>(side)]; }
    const Spline& SplineAt(Source s) const { return Version(s.side)[s.index]; }
    const std::vector<Key>& KeysOf(Side side) const { return m_keyOf[static_cast<int>(side)]; }

    // How many of `keys` there are of each key; keys are handed out from 0 up.
    static std::vector<std::size_t> Counts(const std::vector<Key>& keys) {
        std::vector<std::size_t> counts;
        for (const Key k : keys) {
            if (k >= counts.size())
                counts.resize(static_cast<std::size_t>(k) + 1);
            ++counts[static_cast<std::size_t>(k)];
        }
        return counts;
    }

    // How many splines of `side` have the key `key`.
    std::size_t CountOf(Side side, Key key) const {
        const std::vector<std::size_t>& counts = m_count[static_cast<int>(side)];
        return key < counts.size() ? counts[static_cast<std::size_t>(key)] : 0;
    }

    void Place(const Spline& spline, bool inConflict) {
        m_out.push_back(spline);
        m_inConflict.push_back(inConflict);
    }

    // Both sides changed these base splines, each putting one spline in the
    // place of each: their points merged, spline by spline, or nothing
    // when any spline's points conflict.
    std::optional<SplineList> MergeEachSpline(const KeyConflict& c, const std::vector<Source>& ours,
                                              const std::vector<Source>& theirs) const {
        SplineList out;
        for (std::size_t i = 0; i < c.baseCount; ++i) {
            std::optional<Spline> merged = MergePoints(Version(Side::kBase)[c.baseFirst + i],
                                                       SplineAt(ours[i]), SplineAt(theirs[i]));
            if (!merged)
                return std::nullopt;
            out.push_back(std::move(*merged));
        }
        return out;
    }

    // Whether `side`, whose version of the conflict's stretch is `version`,
    // changed nothing there but the order: it holds only base splines, and
    // still holds every base spline of the stretch, elsewhere in the note.
    // Two orders of the same splines are what a criss-cross of merges leaves.
    bool OnlyMoved(const std::vector<Source>& version, Side side, const KeyConflict& c) const {
        for (const Source& s : version) {
            if (CountOf(Side::kBase, KeysOf(s.side)[s.index]) == 0)
                return false;
        }
        for (std::size_t i = c.baseFirst; i < c.baseFirst + c.baseCount; ++i) {
            const Key k = KeysOf(Side::kBase)[i];
            if (CountOf(side, k) < CountOf(Side::kBase, k))
                return false;
        }
        return true;
    }

    // Matched by content, an edit reads as a removal and an addition. Where
    // the two sides hold the same splines in different orders (as after a
    // criss-cross of merges, whose base git builds by merging), one side's
    // unchanged spline can then come back beside the other side's edit of
    // it. Counted by content, a base spline that one side left as it was
    // and the other removed (or edited) is removed: copies beyond that
    // count, outside conflicts, are dropped, the last ones first, and the
    // conflicts given (this note's) are renumbered.
    template <class Conflicts>
    void DropStaleCopies(Conflicts first, Conflicts last) {
        // A copy, so that no key outlives the splines of m_out it refers to.
        SplineKeys keys = m_keys;
        const std::vector<Key> merged = keys.Of(m_out);
        // Per key: how many copies too many the merge holds.
        std::vector<std::size_t> excess = Counts(merged);
        for (std::size_t k = 0; k < excess.size(); ++k) {
            const std::size_t b = CountOf(Side::kBase, k);
            const std::size_t o = CountOf(Side::kOurs, k);
            const std::size_t t = CountOf(Side::kTheirs, k);
            const std::size_t kept = o == b ? t : t == b ? o : std::max(o, t);
            excess[k] = kept < b && excess[k] > kept ? excess[k] - kept : 0;
        }
        std::vector<bool> drop(m_out.size());
        for (std::size_t i = m_out.size(); i-- > 0;) {
            std::size_t& left = excess[static_cast<std::size_t>(merged[i])];
            if (left > 0 && !m_inConflict[i]) {
                drop[i] = true;
                --left;
            }
        }
        // How many are dropped before each place.
        std::vector<std::size_t> before(m_out.size() + 1);
        for (std::size_t i = 0; i < m_out.size(); ++i)
            before[i + 1] = before[i] + (drop[i] ? 1 : 0);
        if (before.back() == 0)
            return;
        for (auto c = first; c != last; ++c) {
            c->oursFirst -= before[c->oursFirst];
            c->theirsFirst -= before[c->theirsFirst];
        }
        SplineList kept;
        for (std::size_t i = 0; i < m_out.size(); ++i) {
            if (!drop[i])
                kept.push_back(std::move(m_out[i]));
        }
        m_out = std::move(kept);
    }

    int m_note;
    const SplineList* m_versions[3];
    SplineKeys m_keys;
    std::vector<Key> m_keyOf[3];          // the keys of each version's splines
    std::vector<std::size_t> m_count[3];  // how many of each key each version holds
    SplineList m_out;
    std::vector<bool> m_inConflict;  // per spline of m_out
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

MergedNotes MergeNotes(const NoteSet& base, const NoteSet& ours, const NoteSet& theirs,
                       bool keepBase) {
    MergedNotes merged;
    for (int n = 0; n < kNoteCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        merged.notes[i] =
            NoteMerger(n, base[i], ours[i], theirs[i]).Merge(keepBase, merged.conflicts);
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
