#include "io/xml/parse_error_text.h"

#include <tinyxml.h>

namespace velmora {

namespace {

// Each error as the parser raises it: where it reads a start tag, its
// attributes, an element's content and end tag, and the other nodes.
const char* PlainWords(int id) {
    switch (id) {
    case TiXmlBase::TIXML_ERROR_PARSING_ELEMENT:
        return "a tag that cannot be read: an attribute without \"=\" or without its value in "
               "quotes, the same attribute twice, or the end of the file inside the tag";
    case TiXmlBase::TIXML_ERROR_FAILED_TO_READ_ELEMENT_NAME:
        return "a tag without a name, or the end of the file inside a tag";
    case TiXmlBase::TIXML_ERROR_READING_ELEMENT_VALUE:
        return "the content of an element cannot be read";
    case TiXmlBase::TIXML_ERROR_READING_ATTRIBUTES:
        return "a tag that is not closed with \">\" before the end of the file";
    case TiXmlBase::TIXML_ERROR_PARSING_EMPTY: return "a \"/\" in a tag that no \">\" follows";
    case TiXmlBase::TIXML_ERROR_READING_END_TAG:
        return "an element that is not closed, or is closed by the end tag of another";
    case TiXmlBase::TIXML_ERROR_PARSING_UNKNOWN:
        return "markup beginning with \"<!\" or \"<?\" that is not closed with \">\"";
    case TiXmlBase::TIXML_ERROR_PARSING_COMMENT: return "a comment that is not closed with \"-->\"";
    case TiXmlBase::TIXML_ERROR_PARSING_DECLARATION:
        return "an XML declaration that is not closed with \"?>\"";
    case TiXmlBase::TIXML_ERROR_PARSING_CDATA:
        return "a CDATA section that is not closed with \"]]>\"";
    case TiXmlBase::TIXML_ERROR_EMBEDDED_NULL: return "a NUL byte in the text";
    case TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY: return "it is not an XML document";
    default: return "XML that cannot be read";
    }
}

}  // namespace

std::string ParseErrorText(int id, const char* words) {
    return std::string(PlainWords(id)) + " (the XML parser says: \"" + words + "\")";
}

}  // namespace velmora
