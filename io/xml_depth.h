#pragma once

#include <string_view>

#include <tinyxml.h>

namespace velmora {

// The deepest element nesting a spline file may have. Real files use three
// levels; the parser recurses once per level, so this bounds its stack.
constexpr int kMaxXmlDepth = 64;

enum class DepthProblem {
    kNone,
    kTooDeep,              // an element lies deeper than the limit
    kMalformedDeclaration, // an XML declaration the parser might read past its '>'
};

// What the scan found, and where (1-based) when it refused the text.
struct DepthCheck {
    bool ok = true;
    DepthProblem problem = DepthProblem::kNone;
    int line = 0;
    int column = 0;
};

// Scans `text` without recursion and reports whether any element lies more
// than `maxDepth` levels deep. Comments, CDATA sections, declarations,
// processing instructions and quoted attribute values are passed over, so
// they never count as tags. Malformed text is judged conservatively: the
// scan may overcount depth in a broken document, never undercount it
// against what the parser would nest. An XML declaration whose extent the
// parser could see differently from the scan (a '>' inside a quoted value,
// bytes outside ASCII) is refused as malformed: valid declarations have
// neither. The text must be in a form the parser reads byte by byte, or as
// valid UTF-8 (see ParserEncodingFor).
DepthCheck CheckXmlDepth(std::string_view text, int maxDepth = kMaxXmlDepth);

// The encoding to hand the parser for `text`: its default, unless the text
// holds bytes that are not valid UTF-8. In UTF-8 mode the parser takes a
// lead byte's length on trust and would swallow the '<', quote or NUL after a
// stray one (a Latin-1 letter, say), which would misalign this scan and can
// read past the end of the text; read byte by byte, such text is harmless.
TiXmlEncoding ParserEncodingFor(std::string_view text);

}  // namespace velmora
