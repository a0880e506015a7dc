#include "curve/sample_budget.h"

#include "curve/curve_segment.h"

namespace velmora {

int32_t SegmentStepLimit(const std::vector<float>& dx, const std::vector<float>& dy,
                         int32_t segments, int64_t budget) {
    // Splines of up to about a thousand segments fit whatever their chords.
    if (int64_t{segments} * (kMaxSegmentSteps + 1) <= budget)
        return kMaxSegmentSteps;

    // How many segments have each step count (1..kMaxSegmentSteps): one pass,
    // then every candidate limit is priced from the table, not from the chords.
    std::vector<int64_t> segmentsWithSteps(kMaxSegmentSteps + 1, 0);
    CurveSegment c;
    for (int32_t i = 0; i < segments; ++i) {
        c.SetSegment(dx[i], dy[i], 0, 0, 0, 0);
        ++segmentsWithSteps[c.SampleCount() - 1];  // the steps it is sampled with
    }

    // Samples at a candidate cap: each segment writes min(steps, cap) + 1,
    // which grows with cap; take the largest cap that fits.
    int64_t stepsUpToLimit = 0;  // sum of the steps of segments with steps <= cap
    int64_t segmentsAbove = segments;
    int32_t limit = 1;
    for (int32_t cap = 1; cap <= kMaxSegmentSteps; ++cap) {
        stepsUpToLimit += cap * segmentsWithSteps[cap];
        segmentsAbove -= segmentsWithSteps[cap];
        const int64_t samples = stepsUpToLimit + cap * segmentsAbove + segments;
        if (samples > budget)
            break;
        limit = cap;
    }
    return limit;
}

}  // namespace velmora
