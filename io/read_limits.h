#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <tinyxml.h>

namespace velmora {

// Real files nest three levels deep; the parser recurses once per level.
constexpr int kMaxXmlDepth = 64;
// What the parser may build from one file: every element, attribute, text,
// comment or other node costs it 100 to 250 bytes, so this keeps a load
// under about 150 MB. A control point takes three (the element and its two
// coordinates): 200,000 points, while real files hold a few tens of thousands.
constexpr std::size_t kMaxXmlNodes = 600000;
// The parser looks up each new attribute among the earlier ones of its
// element, so their number costs its square; real elements have at most two.
constexpr int kMaxXmlAttributes = 256;

struct LimitCheck {
    bool ok = true;
    std::string reason;  // for the user, when not ok
    int line = 0;        // where (1-based), when not ok
    int column = 0;
};

// Checks a text that the parser is about to read with `encoding` (up to its
// first NUL, which must follow it) against the limits above, before any of
// it is built.
LimitCheck CheckReadLimits(std::string_view text, TiXmlEncoding encoding);

// Why a spline file with exactly these bytes would be refused when read
// (too large, or beyond a limit above), or an empty string when it would not.
std::string CheckWriteLimits(const std::string& bytes);

}  // namespace velmora
