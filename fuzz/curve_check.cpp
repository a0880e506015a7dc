#include "fuzz/curve_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "curve/rebuild_curve.h"
#include "fuzz/byte_reader.h"
#include "platform/canvas.h"

namespace velmora::fuzz {

namespace {

constexpr uint32_t kMaxPoints = 64;
// Within this range every chord is short enough to keep one step per 4 units.
constexpr int32_t kExactRange = 16384;

bool InExactRange(Point p) {
    // Compared, not std::abs: the magnitude of INT32_MIN does not fit.
    return p.x >= -kExactRange && p.x <= kExactRange && p.y >= -kExactRange && p.y <= kExactRange;
}

// v + delta, clamped to the int32_t range.
int32_t Step(int32_t v, int8_t delta) {
    const int64_t sum = int64_t{v} + delta;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// About how many samples the curve from `a` to `b` takes.
uint64_t SamplesBetween(Point a, Point b) {
    const auto dx = static_cast<uint64_t>(std::abs(int64_t{b.x} - a.x));
    const auto dy = static_cast<uint64_t>(std::abs(int64_t{b.y} - a.y));
    return std::max(dx, dy) / 4 + 1;
}

// The points up to the one whose curve would pass `maxSamples`.
void KeepWithin(std::vector<Point>& points, size_t maxSamples) {
    uint64_t samples = 1;
    for (size_t i = 1; i < points.size(); ++i) {
        samples += SamplesBetween(points[i - 1], points[i]);
        if (samples > maxSamples) {
            points.resize(i);
            return;
        }
    }
}

std::string Describe(Point p) {
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

}  // namespace

// The first byte is the count; every point then starts with a selector byte.
std::vector<Point> DecodeControlPoints(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const uint32_t count = in.Below(kMaxPoints + 1);
    std::vector<Point> points;
    points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        Point p;
        switch (in.Below(5)) {
        case 0:  // a repeat of an earlier point, coincident neighbours included
            if (!points.empty())
                p = points[in.Byte() % points.size()];
            break;
        case 1: {  // a small step from the previous point, kept in the int32_t range
            const Point from = points.empty() ? Point{} : points.back();
            p = Point{Step(from.x, static_cast<int8_t>(in.Byte())),
                      Step(from.y, static_cast<int8_t>(in.Byte()))};
            break;
        }
        case 2:  // on the canvas
            p = Point{static_cast<int32_t>(in.U16() % 480), static_cast<int32_t>(in.U16() % 360)};
            break;
        case 3:  // within +-32768
            p = Point{static_cast<int16_t>(in.U16()), static_cast<int16_t>(in.U16())};
            break;
        default:  // anywhere
            p = Point{in.I32(), in.I32()};
            break;
        }
        points.push_back(p);
    }
    return points;
}

std::string CheckCurveInput(const uint8_t* data, size_t size, size_t maxSamples) {
    std::vector<Point> points = DecodeControlPoints(data, size);
    KeepWithin(points, maxSamples);
    const Point sentinel{-12345, 6789};
    std::vector<Point> curve{sentinel};
    RebuildCurve(points, curve);

    // One canvas for every input: building a fresh one each time cost more
    // than the curve.
    static Canvas canvas(480, 360);
    canvas.Polyline(curve.data(), curve.size());

    if (points.size() < 2) {
        if (curve.size() != 1 || curve[0] != sentinel)
            return "fewer than two points changed the curve";
        return {};
    }
    if (curve.size() < 2)
        return "a curve of " + std::to_string(curve.size()) + " samples";
    for (const Point& p : points) {
        if (!InExactRange(p))
            return {};
    }
    if (curve.front() != points.front())
        return "the curve starts at " + Describe(curve.front()) + ", not at the first point " +
               Describe(points.front());
    if (curve.back() != points.back())
        return "the curve ends at " + Describe(curve.back()) + ", not at the last point " +
               Describe(points.back());
    return {};
}

}  // namespace velmora::fuzz
