#pragma once

#include <cstddef>
#include <vector>

#include "tools/compare/sequence_match.h"

namespace velmora::tool {

// Where one element of a merged sequence comes from.
enum class Side : unsigned char { kBase, kOurs, kTheirs };
struct Source {
    Side side;
    std::size_t index;
};

// Base elements [baseFirst, baseFirst + baseCount) that the two sides
// replaced differently. The merged sequence holds ours' version of them
// from `at` on (`oursCount` elements), then theirs' (`theirsCount`).
struct KeyConflict {
    std::size_t baseFirst, baseCount;
    std::size_t at;
    std::size_t oursCount, theirsCount;
    // Every change of either side in the stretch put one element in the
    // place of each it replaced, so ours' and theirs' elements stand one for
    // one in the place of the base's.
    bool oneToOne;
};

struct KeyMerge {
    std::vector<Source> merged;
    std::vector<KeyConflict> conflicts;  // in order
};

// A three-way merge of a sequence whose elements are given as keys (equal
// keys, equal elements), each side matched to the base by a longest common
// subsequence. Each side's stretches that differ from the base are its
// changes; changes of the two sides that touch the same base elements (or
// the same gap between two) form a group. A group of one side is taken from
// that side; one that both sides changed alike, once; elements both sides
// inserted at the same place, with nothing replaced there, all, ours before
// theirs (those both inserted once). Any other group is a conflict.
KeyMerge MergeKeys(const std::vector<Key>& base, const std::vector<Key>& ours,
                   const std::vector<Key>& theirs);

}  // namespace velmora::tool
