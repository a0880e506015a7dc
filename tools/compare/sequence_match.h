#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace velmora::tool {

// One element of a sequence, reduced to a number: equal elements have equal keys.
using Key = uint64_t;

// Index pairs (in a, in b) of elements matched between two sequences.
using Matches = std::vector<std::pair<std::size_t, std::size_t>>;

// A longest common subsequence of `a` and `b`, as increasing index pairs.
// Myers' O((N+M)D) search in linear space; where the sequences differ so
// much that the search would take too long, a stretch is left unmatched
// rather than searched to the end, so the result is always a valid match
// but may then be shorter than the longest.
Matches MatchSequences(const std::vector<Key>& a, const std::vector<Key>& b);

// A stretch between two matched elements (or a matched one and an end):
// elements [aBegin, aEnd) of `a` stand where elements [bBegin, bEnd) of `b`
// stand. At least one of the two is not empty.
struct Gap {
    std::size_t aBegin, aEnd, bBegin, bEnd;
};

// The stretches of `a` and `b` that `matches` leaves unmatched, in order.
std::vector<Gap> GapsBetween(const Matches& matches, std::size_t aSize, std::size_t bSize);

}  // namespace velmora::tool
