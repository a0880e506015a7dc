#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#define VELMORA_HAVE_MXCSR 1
#else
#include <cfenv>
#endif

namespace velmora::detail {

// The curve's rounding steps assume IEEE round-to-nearest with subnormal
// numbers intact. A program built with -ffast-math switches on flush-to-zero
// for the whole process at start-up, and any caller may change the rounding
// mode; so every library entry point runs under this guard, which sets the
// default floating-point environment and puts the caller's back afterwards.
class DefaultFloatEnvironment {
public:
#ifdef VELMORA_HAVE_MXCSR
    // 0x1F80: every exception masked, round to nearest, no flush-to-zero and
    // no denormals-are-zero.
    DefaultFloatEnvironment() : m_saved(_mm_getcsr()) { _mm_setcsr(0x1F80); }
    ~DefaultFloatEnvironment() { _mm_setcsr(m_saved); }
#else
    DefaultFloatEnvironment() : m_saved(std::fegetround()) { std::fesetround(FE_TONEAREST); }
    ~DefaultFloatEnvironment() { std::fesetround(m_saved); }
#endif
    DefaultFloatEnvironment(const DefaultFloatEnvironment&) = delete;
    DefaultFloatEnvironment& operator=(const DefaultFloatEnvironment&) = delete;

private:
#ifdef VELMORA_HAVE_MXCSR
    unsigned int m_saved;
#else
    int m_saved;
#endif
};

}  // namespace velmora::detail
