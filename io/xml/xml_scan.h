#pragma once

#include <cstddef>
#include <string_view>

#include <tinyxml.h>

namespace velmora {

// Bounds on what the parser may build from a text.
struct XmlLimits {
    int maxDepth;          // element nesting
    std::size_t maxNodes;  // elements, attributes, text, comments and other nodes
    int maxAttributes;     // attributes on one element
};

enum class XmlProblem {
    kNone,
    kTooDeep,            // an element lies deeper than maxDepth
    kTooManyNodes,       // the text holds more than maxNodes
    kTooManyAttributes,  // one element holds more than maxAttributes
};

// A top-level node that the parser, finding no end to it, lets run on to
// the end of the text: everything after its start is swallowed without an
// error.
enum class XmlUnclosed { kNone, kComment, kCdata, kDeclaration, kOther };

// What the parser would build from a text, as far as the scan went.
struct XmlScan {
    XmlProblem problem = XmlProblem::kNone;
    std::size_t offset = 0;  // for a problem: where the node that passed the limit starts
    int depth = 0;           // the deepest element nesting reached
    std::size_t nodes = 0;   // nodes and attributes the parser creates
    XmlUnclosed unclosed = XmlUnclosed::kNone;
    std::size_t unclosedOffset = 0;  // where that node starts
    // Where the first line of git's conflict markers starts that is not in
    // a comment, CDATA section, processing instruction or attribute value
    // (npos for none; the scan stops there), and where the last top-level
    // node before it ends.
    std::size_t marker = std::string_view::npos;
    std::size_t beforeMarker = 0;
};

// Reads `text` (up to its first NUL) the way TiXmlDocument::Parse does with
// `encoding`, without building anything and without recursion, and stops at
// the first limit passed. It calls the parser's own lexical routines (white
// space, names, attribute values with their entities, text, comments,
// declarations), so it ends every node exactly where the parser does; only
// the grammar above them is mirrored here. Where the parser would stop with
// an error the scan stops too, so for any text it reports at least the depth
// and node count the parser reaches. It stops at a line of conflict
// markers as well (see XmlScan::marker), also where the parser would go on
// or stop before the line; the parser is never to read from such a line on.
XmlScan ScanXml(const char* text, TiXmlEncoding encoding, const XmlLimits& limits);

// The encoding to hand the parser for `text`: its default, unless the text
// holds bytes that are not valid UTF-8. In UTF-8 mode the parser takes a
// lead byte's length on trust and would swallow the '<', quote or NUL after a
// stray one (a Latin-1 letter, say) and read past the end of the text; read
// byte by byte, such text is harmless.
TiXmlEncoding ParserEncodingFor(std::string_view text);

}  // namespace velmora
