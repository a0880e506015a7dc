#include "io/xml_depth.h"

#include <cstddef>

namespace velmora {

namespace {

// A cursor over the text that keeps line and column for the report.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek(std::size_t ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }
    bool StartsWith(std::string_view prefix) const {
        return m_text.substr(m_pos, prefix.size()) == prefix;
    }
    int Line() const { return m_line; }
    int Column() const { return m_column; }

    // Moves one character on, counting lines.
    void Advance() {
        if (m_text[m_pos] == '\n') {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
        ++m_pos;
    }

    // Moves past the next occurrence of `terminator`, or to the end.
    void SkipPast(std::string_view terminator) {
        while (!AtEnd() && !StartsWith(terminator)) {
            Advance();
        }
        for (std::size_t i = 0; i < terminator.size() && !AtEnd(); ++i) {
            Advance();
        }
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
};

// The parser takes any byte from 127 up as a letter, so names in any
// encoding start an element.
bool StartsElementName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 127;
}

// Moves past an element's start tag (the '<' already consumed), honouring
// quoted attribute values. Returns true when the tag closes itself ("/>").
bool SkipStartTag(Scanner& s) {
    char previous = '\0';
    while (!s.AtEnd()) {
        const char c = s.Peek();
        if (c == '"' || c == '\'') {
            s.Advance();
            while (!s.AtEnd() && s.Peek() != c) {
                s.Advance();
            }
            if (!s.AtEnd()) {
                s.Advance();
            }
            previous = c;
            continue;
        }
        s.Advance();
        if (c == '>') {
            return previous == '/';
        }
        previous = c;
    }
    return true;  // unterminated: the parser fails here and nests no further
}

}  // namespace

// Mirrors how the parser tells nodes apart after '<': "<!--" comment,
// "<![CDATA[" text, "</" end tag, a letter an element, anything else an
// unknown node that ends at the first '>'. Declarations are treated as
// unknown nodes too; where the parser reads further (a quoted '>' in the
// version), the scan only sees more tags, never fewer.
DepthCheck CheckXmlDepth(std::string_view text, int maxDepth) {
    Scanner s(text);
    int depth = 0;
    while (!s.AtEnd()) {
        if (s.Peek() != '<') {
            s.Advance();
            continue;
        }
        const int line = s.Line();
        const int column = s.Column();
        if (s.StartsWith("<!--")) {
            s.SkipPast("-->");
        } else if (s.StartsWith("<![CDATA[")) {
            s.SkipPast("]]>");
        } else if (s.Peek(1) == '/') {
            s.SkipPast(">");
            if (depth > 0) {
                --depth;
            }
        } else if (StartsElementName(s.Peek(1))) {
            s.Advance();
            if (!SkipStartTag(s)) {
                ++depth;
                if (depth > maxDepth) {
                    return DepthCheck{false, line, column};
                }
            }
        } else {
            s.Advance();
            s.SkipPast(">");
        }
    }
    return DepthCheck{};
}

}  // namespace velmora
