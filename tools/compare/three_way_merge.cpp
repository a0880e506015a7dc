#include "tools/compare/three_way_merge.h"

#include <algorithm>

namespace velmora::tool {

namespace {

// Base elements [baseBegin, baseEnd) that one side replaced by its elements
// [sideBegin, sideEnd).
struct Hunk {
    std::size_t baseBegin, baseEnd, sideBegin, sideEnd;
    Side side;
};

// Hunks are placed on a line where base element i is at 2i+1 and the gap
// before it at 2i: an insertion covers its gap, a replacement its elements
// and the gaps between them. Hunks of the two sides that cover a common
// place touch the same part of the base.
std::size_t Low(const Hunk& h) {
    return h.baseBegin == h.baseEnd ? 2 * h.baseBegin : 2 * h.baseBegin + 1;
}
std::size_t High(const Hunk& h) {
    return h.baseBegin == h.baseEnd ? 2 * h.baseBegin : 2 * h.baseEnd - 1;
}

using Stretch = std::vector<Source>;

class Merger {
public:
    Merger(const std::vector<Key>& base, const std::vector<Key>& ours,
           const std::vector<Key>& theirs)
        : m_keys{&base, &ours, &theirs} {}

    KeyMerge Run() {
        std::vector<Hunk> hunks;
        for (const Side side : {Side::kOurs, Side::kTheirs}) {
            const std::vector<Key>& keys = KeysOf(side);
            for (const Gap& g : GapsBetween(MatchSequences(KeysOf(Side::kBase), keys),
                                            KeysOf(Side::kBase).size(), keys.size()))
                hunks.push_back(Hunk{g.aBegin, g.aEnd, g.bBegin, g.bEnd, side});
        }
        std::stable_sort(hunks.begin(), hunks.end(),
                         [](const Hunk& a, const Hunk& b) { return Low(a) < Low(b); });
        std::size_t next = 0;  // the first base element not yet placed
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
            MergeGroup(group, begin, end);
            next = end;
            first = last;
        }
        Place(BaseStretch(next, KeysOf(Side::kBase).size()));
        return std::move(m_out);
    }

private:
    const std::vector<Key>& KeysOf(Side side) const { return *m_keys[static_cast<int>(side)]; }
    Key KeyOf(Source s) const { return KeysOf(s.side)[s.index]; }

    static Stretch BaseStretch(std::size_t begin, std::size_t end) {
        Stretch s;
        for (std::size_t i = begin; i < end; ++i)
            s.push_back(Source{Side::kBase, i});
        return s;
    }

    // The base elements [begin, end) with the group's hunks of one side applied.
    static Stretch Version(const std::vector<Hunk>& group, Side side, std::size_t begin,
                           std::size_t end) {
        Stretch s;
        std::size_t at = begin;
        for (const Hunk& h : group) {
            if (h.side != side)
                continue;
            const Stretch kept = BaseStretch(at, h.baseBegin);
            s.insert(s.end(), kept.begin(), kept.end());
            for (std::size_t j = h.sideBegin; j < h.sideEnd; ++j)
                s.push_back(Source{side, j});
            at = h.baseEnd;
        }
        const Stretch rest = BaseStretch(at, end);
        s.insert(s.end(), rest.begin(), rest.end());
        return s;
    }

    std::vector<Key> Keys(const Stretch& s) const {
        std::vector<Key> keys;
        for (const Source& e : s)
            keys.push_back(KeyOf(e));
        return keys;
    }

    // Elements both sides inserted at one place: the ones both inserted
    // once, the others where they stand, ours before theirs.
    Stretch Interleave(const Stretch& ours, const Stretch& theirs) const {
        Stretch out;
        std::size_t i = 0;
        std::size_t j = 0;
        const auto upTo = [&](std::size_t iEnd, std::size_t jEnd) {
            out.insert(out.end(), ours.begin() + static_cast<long>(i),
                       ours.begin() + static_cast<long>(iEnd));
            out.insert(out.end(), theirs.begin() + static_cast<long>(j),
                       theirs.begin() + static_cast<long>(jEnd));
        };
        for (const auto& [mi, mj] : MatchSequences(Keys(ours), Keys(theirs))) {
            upTo(mi, mj);
            out.push_back(ours[mi]);
            i = mi + 1;
            j = mj + 1;
        }
        upTo(ours.size(), theirs.size());
        return out;
    }

    void MergeGroup(const std::vector<Hunk>& group, std::size_t begin, std::size_t end) {
        const Stretch ours = Version(group, Side::kOurs, begin, end);
        const Stretch theirs = Version(group, Side::kTheirs, begin, end);
        // Hunks of one side never touch each other, so a group of one is one side's.
        if (group.size() == 1 || Keys(ours) == Keys(theirs)) {
            Place(group.size() == 1 && group.front().side == Side::kTheirs ? theirs : ours);
        } else if (begin == end) {
            Place(Interleave(ours, theirs));
        } else {
            const bool oneToOne = std::all_of(group.begin(), group.end(), [](const Hunk& h) {
                return h.baseEnd - h.baseBegin == h.sideEnd - h.sideBegin;
            });
            m_out.conflicts.push_back(KeyConflict{begin, end - begin, m_out.merged.size(),
                                                  ours.size(), theirs.size(), oneToOne});
            Place(ours);
            Place(theirs);
        }
    }

    void Place(const Stretch& s) { m_out.merged.insert(m_out.merged.end(), s.begin(), s.end()); }

    const std::vector<Key>* m_keys[3];
    KeyMerge m_out;
};

}  // namespace

KeyMerge MergeKeys(const std::vector<Key>& base, const std::vector<Key>& ours,
                   const std::vector<Key>& theirs) {
    return Merger(base, ours, theirs).Run();
}

}  // namespace velmora::tool
