#include "io/xml/xml_scan.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "io/xml/read_limits.h"
#include "io/xml/spline_reader.h"
#include "tests/support/sanitizers.h"

namespace velmora {
namespace {

std::string Repeat(const std::string& unit, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += unit;
    return text;
}

std::string Nested(int levels, const std::string& inner = "") {
    return Repeat("<a x=\"1\">", levels) + inner + Repeat("</a>", levels);
}

XmlProblem Problem(const std::string& text) {
    const XmlLimits limits{kMaxXmlDepth, kMaxXmlNodes, kMaxXmlAttributes};
    return ScanXml(text.c_str(), ParserEncodingFor(text), limits).problem;
}

TEST(XmlScanTest, RefusesOneLevelPastTheLimitWithItsPlace) {
    EXPECT_TRUE(CheckReadLimits(Nested(kMaxXmlDepth), TIXML_DEFAULT_ENCODING).status.ok());
    const LimitCheck deep =
        CheckReadLimits("<r>\n  " + Nested(kMaxXmlDepth), TIXML_DEFAULT_ENCODING);
    EXPECT_FALSE(deep.status.ok());
    EXPECT_EQ(deep.status.line, 2);
    EXPECT_EQ(deep.status.column, 3 + 9 * (kMaxXmlDepth - 1));
}

// Markup the parser reads as something else is no tag, and markup it reads
// as a tag is one, wherever a simpler reading would see it differently.
TEST(XmlScanTest, CountsDepthAsTheParserReadsTheText) {
    const std::string deep = Repeat("<a>", 40000);
    const struct {
        std::string text;
        XmlProblem problem;
    } cases[] = {
        {Nested(kMaxXmlDepth - 1, Repeat("<p/><q a='1' /><r></r>", 1000)), XmlProblem::kNone},
        {Nested(kMaxXmlDepth - 1, "<!-- " + deep + " -->"), XmlProblem::kNone},
        {Nested(kMaxXmlDepth - 1, "<![CDATA[" + deep + "]]>"), XmlProblem::kNone},
        {Nested(kMaxXmlDepth - 1, "<b v=\"" + deep + "\" w='<b>'/>"), XmlProblem::kNone},
        {Nested(kMaxXmlDepth - 1, "<b v=\"/>\">x &lt;b&gt;</b>"), XmlProblem::kNone},
        {"<!x>" + deep, XmlProblem::kTooDeep},
        {"<?xml version=\"1.0\">" + deep, XmlProblem::kTooDeep},
        {"<?xml version=\"><![CDATA[\" ?>" + deep + "]]>", XmlProblem::kTooDeep},
        // A character reference runs to the next ';' and swallows the quote,
        // or the end tags, in its way.
        {"<r v=\"&#x\"x41;\">" + deep, XmlProblem::kTooDeep},
        {"<r v='&#'#65;'>" + deep, XmlProblem::kTooDeep},
        {Repeat("<a>&#x</a>x41;", 40000), XmlProblem::kTooDeep},
        // Stray text at the top level ends the parse.
        {"<a/> x " + deep, XmlProblem::kNone},
        {Repeat("<a/>", 200000) + Repeat("<b/>", 400001), XmlProblem::kTooManyNodes},
        {Repeat("<!---->", 600001), XmlProblem::kTooManyNodes},
        {Repeat("<a b=1 c=1/>", 200001), XmlProblem::kTooManyNodes},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problem(c.text), c.problem) << c.text.substr(0, 60);
    }
    std::string attributes = "<a";
    for (int i = 0; i <= kMaxXmlAttributes; ++i)
        attributes += " a" + std::to_string(i) + "=''";
    EXPECT_EQ(Problem(attributes + "/>"), XmlProblem::kTooManyAttributes);
}

TEST(XmlScanTest, HundredThousandLevelsAreRefusedWithoutACrash) {
    const std::string text = "<?xml version=\"1.0\" ?>\n" + Nested(100000);
    NoteSet notes;
    notes[0] = {{Point{1, 2}}};
    const LoadOutcome out = ReadSplineText(text, notes);
    EXPECT_EQ(out.found, LoadStatus::kUnreadable);
    EXPECT_NE(out.Problem().reason.find("nested too deeply"), std::string::npos)
        << out.Problem().reason;
    EXPECT_EQ(out.Problem().line, 2);
    EXPECT_EQ(notes[0], SplineList({{Point{1, 2}}}));
}

// The parser's stack follows the nesting the scan found, not the number of
// '<' in the text: a 16 MiB file whose comment is all '<' loads within an
// address space of 800 MB.
TEST(XmlScanTest, BracketsInACommentNeedNoDeepStack) {
#ifdef VELMORA_UNDER_ASAN
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#else
    const std::string text = "<NewNoteSpline Index=\"0\"><NewSpline /></NewNoteSpline>\n<!-- " +
                             std::string(16 * 1024 * 1024 - 100, '<') + " -->\n";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{800000L * 1024, 800000L * 1024};
        ::setrlimit(RLIMIT_AS, &limit);
        NoteSet notes;
        const LoadOutcome out = ReadSplineText(text, notes);
        ::_exit(out.found == LoadStatus::kLoaded && !out.StoppedEarly() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif
}

// A stray UTF-8 lead byte just before a comment, in a document declared
// UTF-8: read byte by byte, the nesting stays inside the comment.
TEST(XmlScanTest, NonUtf8TextIsReadByteByByte) {
    EXPECT_EQ(ParserEncodingFor("plain <a/>"), TIXML_DEFAULT_ENCODING);
    EXPECT_EQ(ParserEncodingFor("caf\xC3\xA9 \xF0\x9F\x98\x80"), TIXML_DEFAULT_ENCODING);
    EXPECT_EQ(ParserEncodingFor("caf\xE9 <a/>"), TIXML_ENCODING_LEGACY);
    EXPECT_EQ(ParserEncodingFor("ends in a lead byte \xC3"), TIXML_ENCODING_LEGACY);
    NoteSet notes;
    const LoadOutcome stray =
        ReadSplineText("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>\xF0<!-- " +
                           Repeat("<a>", 100000) + " --></r>",
                       notes);
    EXPECT_EQ(stray.found, LoadStatus::kLoaded) << stray.status.reason;
}

// Hand-kept files with Latin-1 letters, declared or not, still load.
TEST(XmlScanTest, LatinOneLettersInAFileStillLoad) {
    const std::string body =
        "<!-- caf\xE9 -->\n<NewNoteSpline Index=\"1\"><NewSpline>\xE9t\xE9"
        "<ControlPoint PosX=\"5\" PosY=\"6\" /></NewSpline></NewNoteSpline>\n";
    for (const char* declaration :
         {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n", "<?xml version=\"1.0\" ?>\n", ""}) {
        NoteSet notes;
        const LoadOutcome out = ReadSplineText(declaration + body, notes);
        EXPECT_EQ(out.found, LoadStatus::kLoaded) << declaration << out.Problem().reason;
        EXPECT_EQ(notes[1], SplineList({{Point{5, 6}}})) << declaration;
    }
}

}  // namespace
}  // namespace velmora
