#include "io/xml_depth.h"

#include <cstddef>

namespace velmora {

namespace {

constexpr std::size_t kEnd = std::string_view::npos;

// The parser takes any byte from 127 up as a letter, so names in any
// encoding start an element.
bool StartsElementName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 127;
}

// The position just past the next `terminator` at or after `from`, or the
// end of the text.
std::size_t SkipPast(std::string_view text, std::size_t from, std::string_view terminator) {
    const std::size_t at = text.find(terminator, from);
    return at == kEnd ? text.size() : at + terminator.size();
}

// Moves past an element's start tag from just after its '<', honouring
// quoted attribute values. Sets `selfClosing` when the tag ends in "/>".
std::size_t SkipStartTag(std::string_view text, std::size_t pos, bool& selfClosing) {
    char previous = '\0';
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '"' || c == '\'') {
            const std::size_t close = text.find(c, pos + 1);
            if (close == kEnd) {
                break;
            }
            pos = close + 1;
        } else {
            ++pos;
            if (c == '>') {
                selfClosing = previous == '/';
                return pos;
            }
        }
        previous = c;
    }
    selfClosing = true;  // unterminated: the parser fails here and nests no further
    return text.size();
}

// 1-based line and column of `pos`; only needed for the rare refusal.
DepthCheck RefusalAt(std::string_view text, std::size_t pos) {
    DepthCheck out{false, 1, 1};
    for (std::size_t i = 0; i < pos; ++i) {
        if (text[i] == '\n') {
            ++out.line;
            out.column = 1;
        } else {
            ++out.column;
        }
    }
    return out;
}

}  // namespace

// Mirrors how the parser tells nodes apart after '<': "<!--" comment,
// "<![CDATA[" text, "</" end tag, a letter an element, anything else an
// unknown node that ends at the first '>'. Declarations are treated as
// unknown nodes too; where the parser reads further (a quoted '>' in the
// version), the scan only sees more tags, never fewer.
DepthCheck CheckXmlDepth(std::string_view text, int maxDepth) {
    int depth = 0;
    std::size_t pos = text.find('<');
    while (pos != kEnd && pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        const char next = pos + 1 < text.size() ? text[pos + 1] : '\0';
        if (rest.substr(0, 4) == "<!--") {
            pos = SkipPast(text, pos + 4, "-->");
        } else if (rest.substr(0, 9) == "<![CDATA[") {
            pos = SkipPast(text, pos + 9, "]]>");
        } else if (next == '/') {
            pos = SkipPast(text, pos + 2, ">");
            if (depth > 0) {
                --depth;
            }
        } else if (StartsElementName(next)) {
            bool selfClosing = false;
            const std::size_t tag = pos;
            pos = SkipStartTag(text, pos + 1, selfClosing);
            if (!selfClosing && ++depth > maxDepth) {
                return RefusalAt(text, tag);
            }
        } else {
            pos = SkipPast(text, pos + 1, ">");
        }
        pos = text.find('<', pos);
    }
    return DepthCheck{};
}

}  // namespace velmora
