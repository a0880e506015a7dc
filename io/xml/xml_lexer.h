#pragma once

#include <array>
#include <string>

#include <tinyxml.h>

namespace velmora {

// The parser's lexical routines are protected members of TiXmlBase; a class
// derived from it may call them. It is never instantiated.
class ParserRoutines : public TiXmlBase {
public:
    using TiXmlBase::IsAlpha;
    using TiXmlBase::ReadName;
    using TiXmlBase::ReadText;
    using TiXmlBase::SkipWhiteSpace;
    using TiXmlBase::StringEqual;
};

// The parser's lexical routines as the scan calls them, for one encoding.
// Each returns exactly what the parser's own routine returns. Plain ASCII
// text, nearly all of a real file, is answered from tables that were filled
// by asking those very routines about each byte; anything else is handed to
// them.
class XmlLexer {
public:
    explicit XmlLexer(TiXmlEncoding encoding) { SetEncoding(encoding); }

    TiXmlEncoding Encoding() const { return m_encoding; }
    void SetEncoding(TiXmlEncoding encoding);

    // As TiXmlBase::SkipWhiteSpace: null for null or at the NUL.
    const char* SkipWhiteSpace(const char* p) const;
    // As TiXmlBase::ReadName: the end of the name at `p` (not null), or null.
    const char* ReadName(const char* p);
    // As TiXmlBase::IsAlpha.
    bool IsAlpha(unsigned char c) const { return m_alpha[c]; }
    // As TiXmlAttribute::Parse: the end of the attribute at `p`, or null.
    const char* ReadAttribute(const char* p);

private:
    // The end of a name of ASCII letters at `p` followed by an ASCII byte,
    // or null when the name is not that plain.
    const char* PlainNameEnd(const char* p) const;

    TiXmlEncoding m_encoding = TIXML_ENCODING_UNKNOWN;
    std::array<bool, 256> m_space{};       // skipped as white space (ASCII only)
    std::array<bool, 256> m_nameStart{};   // may begin a name (ASCII only)
    std::array<bool, 256> m_nameChar{};    // may continue a name (ASCII only)
    std::array<bool, 256> m_plainValue{};  // one character of a quoted value, no entity
    std::array<bool, 256> m_alpha{};
    std::string m_scratch;
    TiXmlAttribute m_attribute;
};

}  // namespace velmora
