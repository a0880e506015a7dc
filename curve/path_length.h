#pragma once

#include <vector>

#include "velmora/point.h"

namespace velmora {

// The length of the straight piece from `a` to `b`.
double PieceLength(PrecisePoint a, PrecisePoint b);

// The distance from the start of the path through `samples` (straight pieces
// between consecutive ones) to each sample, added piece by piece in order in
// double precision: 0 for the first, the path's length for the last.
std::vector<double> DistancesAlong(const std::vector<PrecisePoint>& samples);

// The last of DistancesAlong, the same bits, without keeping the others; 0
// for fewer than two samples.
double PathLength(const std::vector<PrecisePoint>& samples);

}  // namespace velmora
