#include "io/xml/xml_lexer.h"

namespace velmora {

namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

bool IsAscii(char c) { return Byte(c) < 0x80; }

}  // namespace

// Every table entry is the parser's own answer for that byte, under the
// current locale and this encoding; the NUL byte is in no table.
void XmlLexer::SetEncoding(TiXmlEncoding encoding) {
    m_encoding = encoding;
    for (int c = 1; c < 0x80; ++c) {
        const char b = static_cast<char>(c);
        const char space[] = {b, 'x', '\0'};
        m_space[c] = ParserRoutines::SkipWhiteSpace(space, encoding) == space + 1;
        const char start[] = {b, '\0'};
        m_nameStart[c] = ParserRoutines::ReadName(start, &m_scratch, encoding) != nullptr;
        const char next[] = {'_', b, '\0'};
        m_nameChar[c] = ParserRoutines::ReadName(next, &m_scratch, encoding) == next + 2;
    }
    for (int c = 1; c < 0x100; ++c) {
        // An entity may run past the closing quote; it is never plain.
        const char value[] = {static_cast<char>(c), '"', 'x', '\0'};
        m_plainValue[c] = c != '&' && ParserRoutines::ReadText(value, &m_scratch, false, "\"",
                                                               false, encoding) == value + 2;
        m_alpha[c] = ParserRoutines::IsAlpha(static_cast<unsigned char>(c), encoding) != 0;
    }
}

// A run of ASCII white space ending at an ASCII byte is all the parser
// skips there; anything else (a byte-order mark, the end) is its to judge.
const char* XmlLexer::SkipWhiteSpace(const char* p) const {
    if (p == nullptr) {
        return nullptr;
    }
    const char* q = p;
    while (m_space[Byte(*q)])
        ++q;
    if (*q == '\0' || !IsAscii(*q)) {
        return ParserRoutines::SkipWhiteSpace(p, m_encoding);
    }
    return q;
}

const char* XmlLexer::PlainNameEnd(const char* p) const {
    if (!m_nameStart[Byte(*p)]) {
        return nullptr;
    }
    ++p;
    while (m_nameChar[Byte(*p)])
        ++p;
    return IsAscii(*p) ? p : nullptr;
}

const char* XmlLexer::ReadName(const char* p) {
    const char* const end = PlainNameEnd(p);
    return end != nullptr ? end : ParserRoutines::ReadName(p, &m_scratch, m_encoding);
}

// The plain form is name="value" with neither white space nor an entity,
// and more text after it; the parser reads that byte by byte to the quote.
const char* XmlLexer::ReadAttribute(const char* p) {
    const char* q = PlainNameEnd(p);
    if (q != nullptr && q[0] == '=' && q[1] == '"') {
        q += 2;
        while (m_plainValue[Byte(*q)])
            ++q;
        if (*q == '"' && q[1] != '\0') {
            return q + 1;
        }
    }
    return m_attribute.Parse(p, nullptr, m_encoding);
}

}  // namespace velmora
