#include "curve/sample_budget.h"

#include "curve/curve_segment.h"

namespace velmora {

int32_t SegmentStepLimit(const std::vector<float>& dx, const std::vector<float>& dy,
                         int32_t segments, int64_t budget) {
    // Splines of up to about a thousand segments fit whatever their chords.
    if (int64_t{segments} * (kMaxSegmentSteps + 1) <= budget) return kMaxSegmentSteps;

    // How many segments have each step count (1..kMaxSegmentSteps): one pass,
    // then every candidate limit is priced from the table, not from the chords.
    std::vector<int64_t> segmentsWithSteps(kMaxSegmentSteps + 1, 0);
    CurveSegment c;
    for (int32_t i = 0; i < segments; ++i) {
        c.SetSegment(dx[i], dy[i], 0, 0, 0, 0);
        c.SampleCount();  // makes a step count of 0 the 1 it is sampled with
        ++segmentsWithSteps[c.Steps()];
    }

    // Samples at limit L: each segment writes min(steps, L) + 1, which grows
    // with L; take the largest L that fits.
    int64_t stepsUpToLimit = 0;  // sum of the steps of segments with steps <= L
    int64_t segmentsAbove = segments;
    int32_t limit = 1;
    for (int32_t L = 1; L <= kMaxSegmentSteps; ++L) {
        stepsUpToLimit += L * segmentsWithSteps[L];
        segmentsAbove -= segmentsWithSteps[L];
        const int64_t samples = stepsUpToLimit + L * segmentsAbove + segments;
        if (samples > budget) break;
        limit = L;
    }
    return limit;
}

}  // namespace velmora
