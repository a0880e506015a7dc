#pragma once

#include <string_view>

namespace velmora {

// The deepest element nesting a spline file may have. Real files use three
// levels; the parser recurses once per level, so this bounds its stack.
constexpr int kMaxXmlDepth = 64;

// Where a document first went too deep (1-based), or ok.
struct DepthCheck {
    bool ok = true;
    int line = 0;
    int column = 0;
};

// Scans `text` without recursion and reports whether any element lies more
// than `maxDepth` levels deep. Comments, CDATA sections, declarations,
// processing instructions and quoted attribute values are passed over, so
// they never count as tags. Malformed text is judged conservatively: the
// scan may overcount depth in a broken document, never undercount it
// against what the parser would nest.
DepthCheck CheckXmlDepth(std::string_view text, int maxDepth = kMaxXmlDepth);

}  // namespace velmora
