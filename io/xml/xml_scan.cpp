#include "io/xml/xml_scan.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "io/xml/conflict_markers.h"
#include "io/xml/xml_lexer.h"

namespace velmora {

namespace {

using Lexer = ParserRoutines;

// The byte-order mark that makes the document read as UTF-8.
constexpr char kBom[] = "\xEF\xBB\xBF";

// What TiXmlNode::Identify makes of the text at `p`.
enum class NodeKind { kNone, kDeclaration, kComment, kCdata, kUnknown, kElement };

// Follows TiXmlDocument::Parse, TiXmlElement::Parse and its ReadValue, with
// an explicit stack of open elements in place of their recursion. Every
// other node, and every attribute, is read by the parser's own code on a
// scratch object that is reused.
class Scanner {
public:
    Scanner(const char* text, TiXmlEncoding encoding, const XmlLimits& limits)
        : m_text(text), m_lex(encoding), m_limits(limits), m_markers(text) {
        m_marker = m_markers.NextFrom(0);
    }

    XmlScan Run() {
        Walk();
        // A marker line the walk did not reach is one as well: the parser
        // stops before it, or fails at it.
        if (m_result.problem == XmlProblem::kNone && m_result.marker == MarkerLines::kNone) {
            m_result.marker = m_marker;
        }
        return m_result;
    }

private:
    void Walk() {
        const char* p = m_text;
        if (*p == '\0') {
            return;
        }
        if (m_lex.Encoding() == TIXML_ENCODING_UNKNOWN && std::strncmp(p, kBom, 3) == 0) {
            m_lex.SetEncoding(TIXML_ENCODING_UTF8);
        }
        p = m_lex.SkipWhiteSpace(p);
        while (p != nullptr && *p != '\0' && Reach(p)) {
            const NodeKind kind = Identify(p);
            if (kind == NodeKind::kNone || !Count(p)) {
                break;
            }
            if (kind == NodeKind::kElement) {
                p = Element(p);
            } else {
                const char* const start = m_lex.SkipWhiteSpace(p);
                p = Leaf(kind, p);
                if (m_result.marker != MarkerLines::kNone) {
                    return;
                }
                NoteUnclosed(kind, start, p);
                if (kind == NodeKind::kDeclaration && m_lex.Encoding() == TIXML_ENCODING_UNKNOWN) {
                    m_lex.SetEncoding(DeclaredEncoding(m_declaration.Encoding()));
                }
            }
            if (p != nullptr && Reach(p)) {
                m_result.beforeMarker = static_cast<std::size_t>(p - m_text);
            }
            p = m_lex.SkipWhiteSpace(p);
        }
    }

    // Offsets in the text.
    std::size_t At(const char* p) const { return static_cast<std::size_t>(p - m_text); }

    // Whether the scan may go on to `p`: false once a marker line starts
    // before it or at it, outside the regions Skip passed. What starts at a
    // marker line is never such a region: none begins with a marker.
    bool Reach(const char* p) {
        if (m_result.marker != MarkerLines::kNone) {
            return false;
        }
        if (m_marker > At(p)) {
            return true;
        }
        m_result.marker = m_marker;
        return false;
    }

    // Passes the region [start, end), whose marker lines are not markers: a
    // comment, CDATA section, processing instruction or attribute value. A
    // null `end` is the end of the text.
    bool Skip(const char* start, const char* end) {
        if (!Reach(start)) {
            return false;
        }
        const std::size_t to = end == nullptr ? MarkerLines::kNone : At(end);
        if (m_marker < to) {
            m_marker = to == MarkerLines::kNone ? to : m_markers.NextFrom(to);
        }
        return true;
    }

    // Whether a node of `kind` starting at `p` hides marker lines inside it.
    bool HidesMarkers(NodeKind kind, const char* p) const {
        return kind == NodeKind::kDeclaration || kind == NodeKind::kComment ||
               kind == NodeKind::kCdata || (kind == NodeKind::kUnknown && p[1] == '?');
    }

    NodeKind Identify(const char* p) const {
        p = m_lex.SkipWhiteSpace(p);
        if (p == nullptr || *p != '<') {
            return NodeKind::kNone;
        }
        const auto next = static_cast<unsigned char>(p[1]);
        // What follows "<?" or "<!" is never a letter: an element is told at once.
        if (next != '?' && next != '!' && (m_lex.IsAlpha(next) || next == '_')) {
            return NodeKind::kElement;
        }
        const TiXmlEncoding encoding = m_lex.Encoding();
        if (Lexer::StringEqual(p, "<?xml", true, encoding))
            return NodeKind::kDeclaration;
        if (Lexer::StringEqual(p, "<!--", false, encoding))
            return NodeKind::kComment;
        if (Lexer::StringEqual(p, "<![CDATA[", false, encoding))
            return NodeKind::kCdata;
        if (Lexer::StringEqual(p, "<!", false, encoding))
            return NodeKind::kUnknown;
        return NodeKind::kUnknown;
    }

    // As the document does once it has read a declaration.
    static TiXmlEncoding DeclaredEncoding(const char* name) {
        if (*name == '\0' || Lexer::StringEqual(name, "UTF-8", true, TIXML_ENCODING_UNKNOWN) ||
            Lexer::StringEqual(name, "UTF8", true, TIXML_ENCODING_UNKNOWN)) {
            return TIXML_ENCODING_UTF8;
        }
        return TIXML_ENCODING_LEGACY;
    }

    // Any node but an element, read by the parser's own Parse; null at a
    // marker line before or inside it, unless it hides them.
    const char* Leaf(NodeKind kind, const char* p) {
        p = m_lex.SkipWhiteSpace(p);
        const char* const end = ParseLeaf(kind, p);
        if (HidesMarkers(kind, p) ? !Skip(p, end) : (end != nullptr && !Reach(end))) {
            return nullptr;
        }
        return end;
    }

    const char* ParseLeaf(NodeKind kind, const char* p) {
        const TiXmlEncoding encoding = m_lex.Encoding();
        switch (kind) {
        case NodeKind::kDeclaration: return m_declaration.Parse(p, nullptr, encoding);
        case NodeKind::kComment: return m_comment.Parse(p, nullptr, encoding);
        case NodeKind::kCdata:
            m_textNode.SetCDATA(true);
            return m_textNode.Parse(p, nullptr, encoding);
        default: return m_unknown.Parse(p, nullptr, encoding);
        }
    }

    // Records a top-level node from `start` that the parser ended at `end`
    // (null or the terminating NUL: the end of the text) without its closing
    // marker. Each kind stops at the first marker after its opening one, so
    // one at the very end of the text closes it there.
    void NoteUnclosed(NodeKind kind, const char* start, const char* end) {
        if (end != nullptr && *end != '\0') {
            return;
        }
        const std::string_view node(start, std::strlen(start));
        const auto closedBy = [&node](std::string_view open, std::string_view close) {
            return node.size() >= open.size() + close.size() &&
                   node.substr(node.size() - close.size()) == close;
        };
        XmlUnclosed unclosed = XmlUnclosed::kNone;
        switch (kind) {
        case NodeKind::kComment:
            unclosed = closedBy("<!--", "-->") ? XmlUnclosed::kNone : XmlUnclosed::kComment;
            break;
        case NodeKind::kCdata:
            unclosed = closedBy("<![CDATA[", "]]>") ? XmlUnclosed::kNone : XmlUnclosed::kCdata;
            break;
        case NodeKind::kDeclaration:
            unclosed = end != nullptr ? XmlUnclosed::kNone : XmlUnclosed::kDeclaration;
            break;
        default:
            unclosed =
                end != nullptr && closedBy("<", ">") ? XmlUnclosed::kNone : XmlUnclosed::kOther;
            break;
        }
        if (unclosed != XmlUnclosed::kNone) {
            m_result.unclosed = unclosed;
            m_result.unclosedOffset = static_cast<std::size_t>(start - m_text);
        }
    }

    // Counts one more node created at `at`; false once that passes the limit.
    bool Count(const char* at) {
        if (++m_result.nodes > m_limits.maxNodes) {
            return Refuse(XmlProblem::kTooManyNodes, at);
        }
        return true;
    }

    bool Refuse(XmlProblem problem, const char* at) {
        m_result.problem = problem;
        m_result.offset = static_cast<std::size_t>(at - m_text);
        return false;
    }

    // One element with everything inside it, from its '<'. Returns the
    // position after it, or null where the parser stops.
    const char* Element(const char* p) {
        m_open.clear();
        for (;;) {
            // A new element at this level: the parser has created its node.
            const int level = static_cast<int>(m_open.size()) + 1;
            if (level > m_result.depth) {
                m_result.depth = level;
                if (level > m_limits.maxDepth) {
                    Refuse(XmlProblem::kTooDeep, p);
                    return nullptr;
                }
            }
            bool opens = false;
            p = StartTag(p, opens);
            if (p == nullptr) {
                return nullptr;
            }
            if (opens) {
                m_open.push_back(m_name);
            } else if (m_open.empty()) {
                return p;
            }
            // The content of the innermost open element, up to a child
            // element (the outer loop takes it) or the element's end tag.
            for (;;) {
                bool atChild = false;
                p = Content(p, atChild);
                if (p == nullptr) {
                    return nullptr;
                }
                if (atChild) {
                    break;
                }
                p = EndTag(p, m_open.back());
                if (p == nullptr) {
                    return nullptr;
                }
                m_open.pop_back();
                if (m_open.empty()) {
                    return p;
                }
            }
        }
    }

    // An element's start tag and attributes. Sets m_name and `opens` (false
    // for "/>"); returns the position after the tag, or null.
    const char* StartTag(const char* p, bool& opens) {
        p = m_lex.SkipWhiteSpace(p);
        if (p == nullptr || *p != '<' || !Reach(p)) {
            return nullptr;
        }
        p = m_lex.SkipWhiteSpace(p + 1);
        if (p == nullptr) {
            return nullptr;
        }
        const char* const nameStart = p;
        p = m_lex.ReadName(p);
        if (p == nullptr || *p == '\0') {
            return nullptr;
        }
        m_name = std::string_view(nameStart, static_cast<std::size_t>(p - nameStart));
        int attributes = 0;
        for (;;) {
            p = m_lex.SkipWhiteSpace(p);
            if (p == nullptr || *p == '\0' || !Reach(p)) {
                return nullptr;
            }
            if (*p == '/') {
                ++p;
                opens = false;
                return *p == '>' ? p + 1 : nullptr;
            }
            if (*p == '>') {
                opens = true;
                return p + 1;
            }
            const char* const at = p;
            p = m_lex.ReadAttribute(p);
            if (p == nullptr || *p == '\0' || !Count(at) || !SkipValue(at, p)) {
                return nullptr;
            }
            if (++attributes > m_limits.maxAttributes) {
                Refuse(XmlProblem::kTooManyAttributes, at);
                return nullptr;
            }
        }
    }

    // Passes the attribute [at, end): its quoted value hides marker lines.
    bool SkipValue(const char* at, const char* end) {
        const std::string_view attribute(at, static_cast<std::size_t>(end - at));
        const std::size_t quote = attribute.find_first_of("\"'");
        return quote == std::string_view::npos ? Reach(end) : Skip(at + quote, end);
    }

    // Reads an element's content as ReadValue does: text and other nodes, up
    // to the '<' of a child element (`atChild`) or a "</". Null where the
    // parser stops.
    const char* Content(const char* p, bool& atChild) {
        const char* withSpace = p;
        p = m_lex.SkipWhiteSpace(p);
        while (p != nullptr && *p != '\0' && Reach(p)) {
            if (*p != '<') {
                if (!Count(p)) {
                    return nullptr;
                }
                m_textNode.SetCDATA(false);
                p = m_textNode.Parse(TiXmlBase::IsWhiteSpaceCondensed() ? p : withSpace, nullptr,
                                     m_lex.Encoding());
            } else if (p[1] == '/') {
                atChild = false;
                return p;
            } else {
                const NodeKind kind = Identify(p);
                if (!Count(p)) {
                    return nullptr;
                }
                if (kind == NodeKind::kElement) {
                    atChild = true;
                    return p;
                }
                p = Leaf(kind, p);
            }
            withSpace = p;
            p = m_lex.SkipWhiteSpace(p);
        }
        return nullptr;
    }

    // The end tag "</name", optional white space and '>'. A name holds no
    // NUL byte, so the comparison stops at the end of the text.
    const char* EndTag(const char* p, std::string_view name) {
        if (p[0] != '<' || p[1] != '/' || std::strncmp(p + 2, name.data(), name.size()) != 0) {
            return nullptr;
        }
        p = m_lex.SkipWhiteSpace(p + 2 + name.size());
        return p != nullptr && *p == '>' ? p + 1 : nullptr;
    }

    const char* const m_text;
    XmlLexer m_lex;
    const XmlLimits m_limits;
    XmlScan m_result;
    std::vector<std::string_view> m_open;  // names of the open elements, outermost first
    std::string_view m_name;
    TiXmlDeclaration m_declaration;
    TiXmlComment m_comment;
    TiXmlText m_textNode{""};
    TiXmlUnknown m_unknown;
    MarkerLines m_markers;
    std::size_t m_marker;  // the next marker line not yet passed
};

}  // namespace

XmlScan ScanXml(const char* text, TiXmlEncoding encoding, const XmlLimits& limits) {
    return Scanner(text, encoding, limits).Run();
}

// Uses the parser's own table of sequence lengths, so "valid" means exactly
// "the parser never swallows a byte below 0x80 or a new lead byte".
TiXmlEncoding ParserEncodingFor(std::string_view text) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        // Eight ASCII bytes at a time: most files hold nothing else.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if ((word & 0x8080808080808080u) != 0) {
                break;
            }
            i += 8;
        }
        if (i == n) {
            break;
        }
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
