#include "io/xml/xml_lexer.h"

#include <string>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Where `end` lies in `text`: -1 for null, so a mismatch reads plainly.
long OffsetOf(const std::string& text, const char* end) {
    return end == nullptr ? -1 : end - text.c_str();
}

// The forms the tables answer and the ones they must leave to the parser:
// white space, entities, a lead byte before the quote, the end of the text.
const char* const kTexts[] = {
    "PosX=\"75\" ",
    "PosX=\"75\"",
    "PosX = \"75\" ",
    "PosX='75' ",
    "PosX=75 ",
    "PosX=\"7&amp;\" ",
    "v=\"&#x\"x41;\">",
    "v=\"\xC3\" x\" ",
    "v=\"caf\xC3\xA9\" ",
    "_a.b-c:d=\"\" ",
    "9x=\"1\" ",
    "a\xC3\xA9=\"1\" ",
    " \xEF\xBB\xBF a=\"1\" ",
    "",
    "\x7F=\"1\" ",
};

TEST(XmlLexerTest, EndsWhereTheParsersRoutinesEnd) {
    for (const TiXmlEncoding encoding :
         {TIXML_ENCODING_UNKNOWN, TIXML_ENCODING_UTF8, TIXML_ENCODING_LEGACY}) {
        XmlLexer lexer(encoding);
        for (const std::string text : kTexts) {
            SCOPED_TRACE(testing::Message() << encoding << " [" << text << "]");
            const char* p = text.c_str();
            TiXmlAttribute attribute;
            EXPECT_EQ(OffsetOf(text, lexer.ReadAttribute(p)),
                      OffsetOf(text, attribute.Parse(p, nullptr, encoding)));
            EXPECT_EQ(OffsetOf(text, lexer.SkipWhiteSpace(p)),
                      OffsetOf(text, ParserRoutines::SkipWhiteSpace(p, encoding)));
            std::string name;
            EXPECT_EQ(OffsetOf(text, lexer.ReadName(p)),
                      OffsetOf(text, ParserRoutines::ReadName(p, &name, encoding)));
        }
    }
}

}  // namespace
}  // namespace velmora
