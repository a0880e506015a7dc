#pragma once

#include <vector>

#include "velmora/export.h"
#include "velmora/point.h"

namespace velmora {

// The samples of the curve the editor draws through `points`, in client
// pixels: the first sample is the first point and the last sample the last
// point. Empty for fewer than two points. The result is the same bit for bit
// on every machine, with any compiler flags and any rounding mode of the
// caller: the arithmetic runs inside the library, in the default
// floating-point environment, and the caller's is put back afterwards.
//
// Each chord is sampled about every 4 pixels along its longer side; a chord
// whose longer side is 16,384 pixels or more gets 4,096 steps, the most one
// segment gets. A whole curve stays within 2^22 (4,194,304) samples: beyond
// that the longest segments get fewer steps, down to one step per segment,
// so a spline of more than 2^21 segments has two samples per segment.
VELMORA_API std::vector<Point> SampleCurve(const std::vector<Point>& points);

// The samples SampleCurve gives, before they are truncated to whole pixels:
// as many, at the same parameters, and truncating each coordinate toward zero
// gives SampleCurve's sample (which is clamped to the 32-bit range where a
// curve leaves it). The first and last samples are the end points
// exactly (for coordinates within +-2^24, which a float holds exactly). The
// same bit for bit everywhere, as SampleCurve.
VELMORA_API std::vector<PrecisePoint> SampleCurvePrecise(const std::vector<Point>& points);

// The drawn curve as a path to move along at constant speed: the straight
// pieces between consecutive precise samples, so it follows exactly what the
// editor draws. Fewer than two points make an empty path (length 0, every
// point (0, 0)). On a path of length 0 (all its points the same) every point
// is its start and the direction is (0, 0).
class VELMORA_API CurvePath {
public:
    explicit CurvePath(const std::vector<Point>& points);

    // The sum of the pieces' lengths, added in order in double precision.
    double Length() const;

    // The point `distance` along the path from its start, interpolated
    // linearly on the piece where it falls. A distance below 0 (or NaN) gives
    // the start, one beyond Length() the end.
    PrecisePoint PointAt(double distance) const;

    // The unit direction of travel at `distance`: that of the piece the point
    // lies on, the piece after it at a joint, the first piece below 0 (or
    // NaN) and the last at and beyond Length(). Pieces of zero length (where
    // samples coincide) are passed over. (0, 0) for a path of length 0.
    PrecisePoint DirectionAt(double distance) const;

private:
    std::vector<PrecisePoint> m_samples;
    std::vector<double> m_distances;  // from the start to each sample
};

}  // namespace velmora
