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

}  // namespace
}  // namespace velmora
