// Constant-speed motion along the drawn curve: the precise samples joined by
// straight pieces, found by distance with a binary search.
#include <algorithm>
#include <new>

#include "curve/path_length.h"
#include "library/c_points.h"
#include "library/float_environment.h"
#include "velmora/curve.h"
#include "velmora/curve.hpp"

namespace velmora {

namespace {

// The sample that ends the piece of positive length on which `distance`
// lies: the piece after it at a joint, the first one below the start (and for
// NaN), the last one at and beyond the end. 0 when no piece has a length.
size_t PieceEnd(const std::vector<double>& distances, double distance) {
    if (distances.size() < 2 || !(distances.back() > 0.0))
        return 0;
    if (distance >= distances.back()) {
        return static_cast<size_t>(
            std::lower_bound(distances.begin(), distances.end(), distances.back()) -
            distances.begin());
    }
    if (!(distance > 0.0))
        distance = 0.0;
    return static_cast<size_t>(std::upper_bound(distances.begin(), distances.end(), distance) -
                               distances.begin());
}

}  // namespace

CurvePath::CurvePath(const std::vector<Point>& points) : m_samples(SampleCurvePrecise(points)) {
    const detail::DefaultFloatEnvironment environment;
    m_distances = DistancesAlong(m_samples);
}

double CurvePath::Length() const { return m_distances.empty() ? 0.0 : m_distances.back(); }

PrecisePoint CurvePath::PointAt(double distance) const {
    if (m_samples.empty())
        return PrecisePoint{};
    // NaN fails this test too.
    if (!(distance > 0.0))
        return m_samples.front();
    if (distance >= Length())
        return m_samples.back();
    const detail::DefaultFloatEnvironment environment;
    // The first sample beyond `distance`; the piece that ends there holds the
    // point and is not of zero length. (Clamped, should a length be NaN.)
    const auto beyond = std::upper_bound(m_distances.begin(), m_distances.end(), distance);
    const size_t end = std::clamp<size_t>(beyond - m_distances.begin(), 1, m_samples.size() - 1);
    const PrecisePoint a = m_samples[end - 1];
    const PrecisePoint b = m_samples[end];
    const double f = (distance - m_distances[end - 1]) / (m_distances[end] - m_distances[end - 1]);
    return PrecisePoint{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

PrecisePoint CurvePath::DirectionAt(double distance) const {
    const detail::DefaultFloatEnvironment environment;
    const size_t end = PieceEnd(m_distances, distance);
    if (end == 0)
        return PrecisePoint{};
    // The length the distances were summed from, so it is not 0 here.
    const PrecisePoint a = m_samples[end - 1];
    const PrecisePoint b = m_samples[end];
    const double length = PieceLength(a, b);
    return PrecisePoint{(b.x - a.x) / length, (b.y - a.y) / length};
}

}  // namespace velmora

struct velmora_path {
    velmora::CurvePath path;
};

velmora_path* velmora_path_new(const int32_t* points_xy, size_t point_count) {
    if (points_xy == nullptr || point_count < 2)
        return nullptr;
    try {
        return new velmora_path{
            velmora::CurvePath(velmora::detail::PointsFromPairs(points_xy, point_count))};
    } catch (...) {
        return nullptr;
    }
}

double velmora_path_length(const velmora_path* path) {
    return path == nullptr ? 0.0 : path->path.Length();
}

void velmora_path_at(const velmora_path* path, double distance, double* x, double* y) {
    const velmora::PrecisePoint p =
        path == nullptr ? velmora::PrecisePoint{} : path->path.PointAt(distance);
    if (x != nullptr)
        *x = p.x;
    if (y != nullptr)
        *y = p.y;
}

void velmora_path_direction(const velmora_path* path, double distance, double* dx, double* dy) {
    const velmora::PrecisePoint d =
        path == nullptr ? velmora::PrecisePoint{} : path->path.DirectionAt(distance);
    if (dx != nullptr)
        *dx = d.x;
    if (dy != nullptr)
        *dy = d.y;
}

void velmora_path_free(velmora_path* path) { delete path; }
