#pragma once

#include <cstdint>

#include "curve/numeric.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The interior rows of one Jacobi iteration, two rows at once where SSE2 is
// there. Both paths give the same bits: each lane is the same IEEE double
// operations in the same order, rounded to float once, as the scalar row.
namespace velmora::detail {

// q[j] = ((v[j] - lower[j] * r[j-1]) - upper[j] * r[j+1]) / diag[j], as a float.
inline float JacobiRow(const float* v, const float* lower, const float* diag, const float* upper,
                       const float* r, int32_t j) {
    return Store(((double{v[j]} - double{lower[j]} * r[j - 1]) - double{upper[j]} * r[j + 1]) /
                 diag[j]);
}

#if defined(__SSE2__)
// Two neighbouring floats widened to double.
inline __m128d LoadPair(const float* p) {
    return _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}
#endif

// Computes q[j] for first <= j <= last from the previous iteration's r.
inline void JacobiRows(const float* v, const float* lower, const float* diag, const float* upper,
                       const float* r, float* q, int32_t first, int32_t last) {
    int32_t j = first;
#if defined(__SSE2__)
    for (; j < last; j += 2) {
        const __m128d lowerTerm = _mm_mul_pd(LoadPair(lower + j), LoadPair(r + j - 1));
        const __m128d upperTerm = _mm_mul_pd(LoadPair(upper + j), LoadPair(r + j + 1));
        const __m128d numerator = _mm_sub_pd(_mm_sub_pd(LoadPair(v + j), lowerTerm), upperTerm);
        const __m128 rows = _mm_cvtpd_ps(_mm_div_pd(numerator, LoadPair(diag + j)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(q + j), _mm_castps_si128(rows));
    }
#endif
    for (; j <= last; ++j)
        q[j] = JacobiRow(v, lower, diag, upper, r, j);
}

}  // namespace velmora::detail
