#include "curve/path_length.h"

#include <cmath>

namespace velmora {

double PieceLength(PrecisePoint a, PrecisePoint b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

std::vector<double> DistancesAlong(const std::vector<PrecisePoint>& samples) {
    std::vector<double> distances;
    distances.reserve(samples.size());
    double distance = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (i > 0)
            distance += PieceLength(samples[i - 1], samples[i]);
        distances.push_back(distance);
    }
    return distances;
}

double PathLength(const std::vector<PrecisePoint>& samples) {
    double length = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        length += PieceLength(samples[i - 1], samples[i]);
    return length;
}

}  // namespace velmora
