#pragma once

#include <cstdint>

#include "curve/numeric.h"
#include "velmora/point.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The samples of one cubic Hermite segment, one at a time or two at once.
// Both give the same bits: every step is the same IEEE operation in the same
// order, rounded to float where the scalar code rounds.
namespace velmora::detail {

// A segment's values widened to double, and its parameter step 1 / s.
struct HermiteSegment {
    double dx, dy;
    double startTanX, startTanY;
    double endTanX, endTanY;
    double x0, y0;
    double step;
};

// The sample at parameter step k (t = float(step * k)), before truncation.
inline PrecisePoint PreciseAt(const HermiteSegment& c, int32_t k) {
    // t is stored as a float, which makes it exactly 1 at the last step.
    const double t = Store(c.step * k);
    const double h1 = Store((t * t) * (3.0 - t * 2.0));
    const double h2 = Store(((t - 1.0) * t) * (t - 1.0));
    const double h3 = Store((t * t) * (t - 1.0));
    const double x = ((c.dx * h1 + c.x0) + c.startTanX * h2) + c.endTanX * h3;
    const double y = ((c.dy * h1 + c.y0) + c.startTanY * h2) + c.endTanY * h3;
    return PrecisePoint{x, y};
}

// The sample at parameter step k, truncated to whole pixels.
inline Point SampleAt(const HermiteSegment& c, int32_t k) {
    const PrecisePoint p = PreciseAt(c, k);
    return Point{TruncateToInt32(p.x), TruncateToInt32(p.y)};
}

#if defined(__SSE2__)

namespace pair {

// Rounds both lanes to float and back, as storing a float does.
inline __m128d StorePair(__m128d v) { return _mm_cvtps_pd(_mm_cvtpd_ps(v)); }

// One coordinate of both samples: ((d * h1 + p0) + startTan * h2) + endTan * h3.
inline __m128d Combine(double d, double p0, double startTan, double endTan, __m128d h1, __m128d h2,
                       __m128d h3) {
    const __m128d sum = _mm_add_pd(_mm_mul_pd(_mm_set1_pd(d), h1), _mm_set1_pd(p0));
    const __m128d withStart = _mm_add_pd(sum, _mm_mul_pd(_mm_set1_pd(startTan), h2));
    return _mm_add_pd(withStart, _mm_mul_pd(_mm_set1_pd(endTan), h3));
}

}  // namespace pair

// Writes the samples at steps k and k + 1 to out[0] and out[1], both lanes
// computed exactly as SampleAt computes one.
inline void SamplePair(const HermiteSegment& c, int32_t k, Point* out) {
    const __m128d one = _mm_set1_pd(1.0);
    const __m128d steps = _mm_set_pd(static_cast<double>(k) + 1.0, static_cast<double>(k));
    const __m128d t = pair::StorePair(_mm_mul_pd(_mm_set1_pd(c.step), steps));
    const __m128d tt = _mm_mul_pd(t, t);
    const __m128d tMinus1 = _mm_sub_pd(t, one);
    const __m128d twoT = _mm_mul_pd(t, _mm_set1_pd(2.0));
    const __m128d h1 = pair::StorePair(_mm_mul_pd(tt, _mm_sub_pd(_mm_set1_pd(3.0), twoT)));
    const __m128d h2 = pair::StorePair(_mm_mul_pd(_mm_mul_pd(tMinus1, t), tMinus1));
    const __m128d h3 = pair::StorePair(_mm_mul_pd(tt, tMinus1));

    const __m128d x = pair::Combine(c.dx, c.x0, c.startTanX, c.endTanX, h1, h2, h3);
    const __m128d y = pair::Combine(c.dy, c.y0, c.startTanY, c.endTanY, h1, h2, h3);
    // Points are laid out x, y: interleave the lanes. Truncation gives
    // INT32_MIN for NaN and for values beyond the int32_t range; a pair with
    // such a lane (or a true INT32_MIN) is redone one at a time, which clamps.
    const __m128i both = _mm_unpacklo_epi32(_mm_cvttpd_epi32(x), _mm_cvttpd_epi32(y));
    const __m128i outOfRange = _mm_cmpeq_epi32(both, _mm_set1_epi32(INT32_MIN));
    if (_mm_movemask_epi8(outOfRange) != 0) {
        out[0] = SampleAt(c, k);
        out[1] = SampleAt(c, k + 1);
        return;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), both);
}

#else

// Without two-lane arithmetic, the two samples one at a time.
inline void SamplePair(const HermiteSegment& c, int32_t k, Point* out) {
    out[0] = SampleAt(c, k);
    out[1] = SampleAt(c, k + 1);
}

#endif

}  // namespace velmora::detail
