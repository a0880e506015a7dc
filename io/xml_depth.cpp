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

// The white space the parser skips between declaration attributes.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The characters the parser allows in a name after its first letter.
bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
           c == '_' || c == '-' || c == '.' || c == ':';
}

// Whether `word` (lower case) stands at `pos`, ignoring ASCII case.
bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (text.size() - pos < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = text[pos + i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != word[i]) {
            return false;
        }
    }
    return true;
}

enum class DeclarationEnd {
    kAtFirstGt,  // the parser ends it at its first '>', as the scan does
    kStops,      // the parser gives up inside it and reads nothing after
    kBeyond,     // a quoted value runs past the first '>'
};

// Follows the parser through an XML declaration: it reads "version",
// "encoding" and "standalone" as attributes, whose quoted values may hold a
// '>', and skips anything else up to white space or '>'. `pos` is just after
// "<?xml"; `firstGt` the first '>' after it (not npos).
DeclarationEnd FollowDeclaration(std::string_view text, std::size_t pos, std::size_t firstGt) {
    const auto skipSpace = [&] {
        while (pos < text.size() && IsSpace(text[pos])) {
            ++pos;
        }
    };
    while (pos < text.size()) {
        if (text[pos] == '>') {
            return DeclarationEnd::kAtFirstGt;  // nothing before firstGt is a '>'
        }
        skipSpace();
        if (StartsWithNoCase(text, pos, "version") || StartsWithNoCase(text, pos, "encoding") ||
            StartsWithNoCase(text, pos, "standalone")) {
            while (pos < text.size() && IsNameChar(text[pos])) {
                ++pos;
            }
            skipSpace();
            if (pos >= text.size() || text[pos] != '=') {
                return DeclarationEnd::kStops;
            }
            ++pos;
            skipSpace();
            if (pos >= text.size()) {
                return DeclarationEnd::kStops;
            }
            const char c = text[pos];
            if (c == '"' || c == '\'') {
                const std::size_t close = text.find(c, pos + 1);
                if (close == kEnd || close > firstGt) {
                    return DeclarationEnd::kBeyond;
                }
                pos = close + 1;
            } else {
                for (; pos < text.size() && !IsSpace(text[pos]) && text[pos] != '/' &&
                       text[pos] != '>';
                     ++pos) {
                    if (text[pos] == '"' || text[pos] == '\'') {
                        return DeclarationEnd::kStops;
                    }
                }
            }
        } else {
            while (pos < text.size() && text[pos] != '>' && !IsSpace(text[pos])) {
                ++pos;
            }
        }
    }
    return DeclarationEnd::kStops;
}

// 1-based line and column of `pos`; only needed for the rare refusal.
DepthCheck RefusalAt(std::string_view text, std::size_t pos, DepthProblem problem) {
    DepthCheck out{false, problem, 1, 1};
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
// unknown node that ends at the first '>'. "<?xml" starts a declaration,
// which the parser reads attribute by attribute; one it would read past its
// first '>' is refused rather than guessed at.
DepthCheck CheckXmlDepth(std::string_view text, int maxDepth) {
    int depth = 0;
    std::size_t pos = text.find('<');
    while (pos != kEnd && pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        const char next = pos + 1 < text.size() ? text[pos + 1] : '\0';
        if (StartsWithNoCase(text, pos, "<?xml")) {
            const std::size_t firstGt = text.find('>', pos);
            if (firstGt == kEnd) {
                break;  // no element can open after it
            }
            for (std::size_t i = pos; i < firstGt; ++i) {
                if (static_cast<unsigned char>(text[i]) >= 0x80) {
                    return RefusalAt(text, pos, DepthProblem::kMalformedDeclaration);
                }
            }
            switch (FollowDeclaration(text, pos + 5, firstGt)) {
                case DeclarationEnd::kAtFirstGt:
                    pos = firstGt + 1;
                    break;
                case DeclarationEnd::kStops:
                    return DepthCheck{};  // the parser reads no further
                case DeclarationEnd::kBeyond:
                    return RefusalAt(text, pos, DepthProblem::kMalformedDeclaration);
            }
        } else if (rest.substr(0, 4) == "<!--") {
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
                return RefusalAt(text, tag, DepthProblem::kTooDeep);
            }
        } else {
            pos = SkipPast(text, pos + 1, ">");
        }
        pos = text.find('<', pos);
    }
    return DepthCheck{};
}

// Uses the parser's own table of sequence lengths, so "valid" means exactly
// "the parser never swallows a byte below 0x80 or a new lead byte".
TiXmlEncoding ParserEncodingFor(std::string_view text) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = TiXmlBase::utf8ByteTable[lead];
        if (lead < 0x80 || length <= 1) {
            continue;
        }
        for (int k = 1; k < length; ++k) {
            if (i + static_cast<std::size_t>(k) >= n) {
                return TIXML_ENCODING_LEGACY;
            }
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if (next < 0x80 || next > 0xBF) {
                return TIXML_ENCODING_LEGACY;
            }
        }
        i += static_cast<std::size_t>(length - 1);
    }
    return TIXML_DEFAULT_ENCODING;
}

}  // namespace velmora
