#pragma once

#include <cstdint>

#include "velmora/point.h"

namespace velmora::detail {
struct HermiteSegment;
}  // namespace velmora::detail

namespace velmora {

// The most steps one segment is sampled with. Every chord shorter than 16,384
// units keeps its step count of one per 4 units; longer chords, which only
// points far off the canvas make, are capped so that a rebuild stays bounded.
constexpr int32_t kMaxSegmentSteps = 4096;

// One cubic Hermite segment between two control points, sampled at evenly
// spaced parameters about every 4 units along the chord's longer axis.
class CurveSegment {
public:
    // `maxSteps` caps the step count (at least 1).
    explicit CurveSegment(int32_t maxSteps = kMaxSegmentSteps) : m_maxSteps(maxSteps) {}

    // Loads the chord and the tangents at both ends and computes the step
    // count: the longer chord component over 4, truncated, at most maxSteps.
    // A chord shorter than 4 units gets 0 steps here and is sampled with one.
    void SetSegment(float dx, float dy, float startTanX, float startTanY, float endTanX,
                    float endTanY);

    // The number of samples SampleSegment writes: steps + 1, with at least one step.
    int32_t SampleCount() const;

    // Makes a step count of 0 the 1 it is sampled with, then writes the start
    // point (x0, y0) and one sample per step into out[PointCount...],
    // advancing PointCount; the last sample is the end point.
    void SampleSegment(float x0, float y0, Point* out, int32_t& PointCount);

    // The same samples before truncation to whole pixels: the start point
    // (x0, y0) and then one per step, each the value SampleSegment truncates.
    void SampleSegmentPrecise(float x0, float y0, PrecisePoint* out, int32_t& PointCount);

    // The step count; 0 after SetSegment for a chord shorter than 4 units,
    // until SampleSegment makes it 1.
    int32_t Steps() const { return m_steps; }

private:
    // Makes a step count of 0 the 1 it is sampled with; the segment's values
    // widened for sampling from (x0, y0).
    detail::HermiteSegment Prepare(float x0, float y0);

    float m_dx = 0;
    float m_dy = 0;
    float m_startTanX = 0;
    float m_startTanY = 0;
    float m_endTanX = 0;
    float m_endTanY = 0;
    int32_t m_steps = 0;
    int32_t m_maxSteps;
};

}  // namespace velmora
