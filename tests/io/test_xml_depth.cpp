#include "io/xml_depth.h"

#include <string>

#include <gtest/gtest.h>

#include "io/spline_reader.h"

namespace velmora {
namespace {

std::string Nested(int levels, const std::string& inner = "") {
    std::string text;
    for (int i = 0; i < levels; ++i) {
        text += "<a x=\"1\">";
    }
    text += inner;
    for (int i = 0; i < levels; ++i) {
        text += "</a>";
    }
    return text;
}

TEST(XmlDepthTest, AcceptsUpToTheLimitAndRefusesOneMore) {
    EXPECT_TRUE(CheckXmlDepth(Nested(kMaxXmlDepth)).ok);
    const DepthCheck deep = CheckXmlDepth("<r>\n  " + Nested(kMaxXmlDepth));
    EXPECT_FALSE(deep.ok);
    EXPECT_EQ(deep.line, 2);
    EXPECT_EQ(deep.column, 3 + 9 * (kMaxXmlDepth - 1));
}

TEST(XmlDepthTest, SiblingsAndSelfClosingTagsDoNotAddUp) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "<p/><q a='1' /><r></r>";
    }
    EXPECT_TRUE(CheckXmlDepth(Nested(kMaxXmlDepth - 1, text)).ok);
}

// Markup inside these constructs is no tag: a document at the limit with
// them inside must still pass.
TEST(XmlDepthTest, PassesOverCommentsCdataDeclarationsAndQuotedValues) {
    const char* inners[] = {
        "<!-- <b><b><b> -->",
        "<![CDATA[<b><b><b>]]>",
        "<?pi <b>?>",
        "<!DOCTYPE b>",
        "<b v=\"<b><b>\" w='<b>'/>",
        "<b v=\"/>\">x</b>",
        "text &lt;b&gt; more",
    };
    for (const char* inner : inners) {
        EXPECT_TRUE(CheckXmlDepth(Nested(kMaxXmlDepth - 1, inner)).ok) << inner;
        EXPECT_FALSE(CheckXmlDepth(Nested(kMaxXmlDepth, std::string("<c>") + inner + "</c>")).ok)
            << inner;
    }
}

TEST(XmlDepthTest, UnterminatedDeclarationDoesNotHideTheTagsAfterIt) {
    // The parser ends an unknown "<!" or "<?" node at the first '>', so the
    // scan must not skip to a later "?>" and miss the nesting.
    EXPECT_FALSE(CheckXmlDepth("<?xml version=\"1.0\">" + Nested(kMaxXmlDepth + 1)).ok);
    EXPECT_FALSE(CheckXmlDepth("<!x>" + Nested(kMaxXmlDepth + 1)).ok);
}

TEST(XmlDepthTest, HundredThousandLevelsAreRefusedWithoutACrash) {
    const std::string text = "<?xml version=\"1.0\" ?>\n" + Nested(100000);
    NoteSet notes;
    notes[0] = {{Point{1, 2}}};
    const LoadOutcome out = ReadSplineText(text, notes);
    EXPECT_EQ(out.status, LoadStatus::kUnreadable);
    EXPECT_NE(out.reason.find("nested too deeply"), std::string::npos) << out.reason;
    EXPECT_EQ(out.line, 2);
    EXPECT_EQ(notes[0], SplineList({{Point{1, 2}}}));
}

// Text that would make the parser read differently from the scan must not
// get deep nesting past it: both of these crash the parser unguarded.
TEST(XmlDepthTest, MisleadingTextCannotHideDeepNesting) {
    std::string nesting;
    for (int i = 0; i < 100000; ++i) {
        nesting += "<a>";
    }
    NoteSet notes;
    // A quoted '>' in the declaration's version: refused.
    const LoadOutcome quoted = ReadSplineText("<?xml version=\"><![CDATA[\" ?>" + nesting + "]]>", notes);
    EXPECT_EQ(quoted.status, LoadStatus::kUnreadable);
    EXPECT_EQ(quoted.reason, "malformed XML declaration");
    // A stray UTF-8 lead byte just before a comment, in a document declared
    // UTF-8: read byte by byte, the nesting stays inside the comment.
    const LoadOutcome stray = ReadSplineText(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>\xF0<!-- " + nesting + " --></r>", notes);
    EXPECT_EQ(stray.status, LoadStatus::kLoaded) << stray.reason;
}

TEST(XmlDepthTest, NonUtf8TextIsReadByteByByte) {
    EXPECT_EQ(ParserEncodingFor("plain <a/>"), TIXML_DEFAULT_ENCODING);
    EXPECT_EQ(ParserEncodingFor("caf\xC3\xA9 \xF0\x9F\x98\x80"), TIXML_DEFAULT_ENCODING);
    EXPECT_EQ(ParserEncodingFor("caf\xE9 <a/>"), TIXML_ENCODING_LEGACY);
    EXPECT_EQ(ParserEncodingFor("ends in a lead byte \xC3"), TIXML_ENCODING_LEGACY);
}

// Hand-kept files with Latin-1 letters, declared or not, still load.
TEST(XmlDepthTest, LatinOneLettersInAFileStillLoad) {
    const std::string body =
        "<!-- caf\xE9 -->\n<NewNoteSpline Index=\"1\"><NewSpline>\xE9t\xE9"
        "<ControlPoint PosX=\"5\" PosY=\"6\" /></NewSpline></NewNoteSpline>\n";
    for (const char* declaration :
         {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n", "<?xml version=\"1.0\" ?>\n", ""}) {
        NoteSet notes;
        const LoadOutcome out = ReadSplineText(declaration + body, notes);
        EXPECT_EQ(out.status, LoadStatus::kLoaded) << declaration << out.reason;
        EXPECT_EQ(notes[1], SplineList({{Point{5, 6}}})) << declaration;
    }
}

}  // namespace
}  // namespace velmora
