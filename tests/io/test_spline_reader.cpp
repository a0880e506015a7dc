#include "io/xml/spline_reader.h"

#include <gtest/gtest.h>

#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
#include "io_test_util.h"
#include "tests/support/case_names.h"
#include "tests/support/printers.h"

namespace velmora {
namespace {

using namespace std::string_literals;
using test::MarkedNotes;

struct LoadCase {
    const char* name;
    std::string xml;
    LoadStatus status;
    NoteSet expected;         // the notes after the load, starting from MarkedNotes()
    std::string reason = "";  // part of the reason given, and its place
    int line = 0;
    int column = 0;
};

// MarkedNotes() with some notes replaced.
NoteSet With(std::initializer_list<std::pair<int, SplineList>> changes) {
    NoteSet notes = MarkedNotes();
    for (const auto& [n, list] : changes) {
        notes[static_cast<std::size_t>(n)] = list;
    }
    return notes;
}

const LoadCase kLoadCases[] = {
    {"NotesZeroAndTwoOnly",
     R"(<?xml version="1.0" ?>
<RectSize Width="1" Height="2" />
<NewNoteSpline Index="0"><NewSpline><ControlPoint PosX="1" PosY="2" /><ControlPoint PosX="3" PosY="4" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="2"><NewSpline><ControlPoint PosX="5" PosY="6" /></NewSpline><NewSpline><ControlPoint PosX="7" PosY="8" /></NewSpline></NewNoteSpline>
)",
     LoadStatus::kLoaded, With({{0, {{{1, 2}, {3, 4}}}}, {2, {{{5, 6}}, {{7, 8}}}}})},
    {"DuplicateIndexLaterWins",
     R"(<NewNoteSpline Index="1"><NewSpline><ControlPoint PosX="1" PosY="1" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="1"><NewSpline><ControlPoint PosX="2" PosY="2" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{1, {{{2, 2}}}}})},
    {"AnyOrder",
     R"(<NewNoteSpline Index="3"><NewSpline><ControlPoint PosX="3" PosY="0" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="1"><NewSpline><ControlPoint PosX="1" PosY="0" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="0"><NewSpline><ControlPoint PosX="0" PosY="0" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="2"><NewSpline><ControlPoint PosX="2" PosY="0" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded,
     With({{0, {{{0, 0}}}}, {1, {{{1, 0}}}}, {2, {{{2, 0}}}}, {3, {{{3, 0}}}}})},
    {"NoteWithoutSplinesIsEmptied", R"(<NewNoteSpline Index="2" />)", LoadStatus::kLoaded,
     With({{2, {}}})},
    {"EmptyAndOnePointSplinesAreKept",
     R"(<NewNoteSpline Index="0"><NewSpline /><NewSpline><ControlPoint PosX="9" PosY="8" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {Spline{}, {{9, 8}}}}})},
    {"PointWithoutPosYEndsItsSplineOnly",
     R"(<NewNoteSpline Index="0"><NewSpline>
  <ControlPoint PosX="1" PosY="1" /><ControlPoint PosX="2" PosY="2" />
  <ControlPoint PosX="3" /><ControlPoint PosX="4" PosY="4" />
</NewSpline><NewSpline><ControlPoint PosX="5" PosY="5" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {{{1, 1}, {2, 2}}, {{5, 5}}}}})},
    {"NoteWithoutIndexEndsTheWalk",
     R"(<NewNoteSpline Index="0"><NewSpline /></NewNoteSpline>
<NewNoteSpline><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="1"><NewSpline /></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {Spline{}}}})},
    {"ForeignElementsBeforeAndAfterTheFirstNote",
     R"(<Other Index="3"><NewSpline /></Other>
<NewNoteSpline Index="0"><NewSpline /></NewNoteSpline>
<Other Index="1"><NewSpline><ControlPoint PosX="7" PosY="7" /></NewSpline></Other>
<Stop />
<NewNoteSpline Index="2"><NewSpline /></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {Spline{}}}, {1, {{{7, 7}}}}})},
    {"OnlyTheFirstChildIsMatchedByName",
     R"(<NewNoteSpline Index="0"><Lead /><!-- c --><NewSpline><!-- c --><ControlPoint PosX="1" PosY="1" /><Any PosX="2" PosY="2" /></NewSpline><Second><ControlPoint PosX="3" PosY="3" /></Second></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {{{1, 1}, {2, 2}}, {{3, 3}}}}})},
    {"ParseErrorAfterFourGoodNotesLoadsNothing",
     R"(<NewNoteSpline Index="0"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="1"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="2"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="3"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="0" <NewSpline /></NewNoteSpline>)",
     LoadStatus::kUnreadable, MarkedNotes()},
    {"UnclosedElementLoadsNothing",
     R"(<NewNoteSpline Index="0"><NewSpline><ControlPoint PosX="1" PosY="1" /></NewSpline>)",
     LoadStatus::kUnreadable, MarkedNotes()},
    {"SignsAndBlanksInNumbers",
     R"(<NewNoteSpline Index="0"><NewSpline><ControlPoint PosX="-5" PosY="-2147483648" /><ControlPoint PosX="+12" PosY="  7" /><ControlPoint PosX="3px" PosY="1e3" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {{{-5, INT32_MIN}, {12, 7}, {3, 1}}}}})},
    {"IndexThatIsNoNoteNumberSkipsOnlyThatElement",
     R"(<NewNoteSpline Index="-1"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="4"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="2147483647"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="99999999999"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index=""><NewSpline /></NewNoteSpline>
<NewNoteSpline Index="x"><NewSpline /></NewNoteSpline>
<NewNoteSpline Index=" 2"><NewSpline><ControlPoint PosX="2" PosY="2" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="+3"><NewSpline><ControlPoint PosX="3" PosY="3" /></NewSpline></NewNoteSpline>
<NewNoteSpline Index="1e3"><NewSpline><ControlPoint PosX="1" PosY="1" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{1, {{{1, 1}}}}, {2, {{{2, 2}}}}, {3, {{{3, 3}}}}})},
    {"CoordinateThatIsNoNumberCountsAsMissing",
     R"(<NewNoteSpline Index="0"><NewSpline><ControlPoint PosX="1" PosY="1" /><ControlPoint PosX="abc" PosY="2" /><ControlPoint PosX="3" PosY="3" /></NewSpline>
<NewSpline><ControlPoint PosX="4" PosY="4" /><ControlPoint PosX="5" PosY="99999999999" /></NewSpline></NewNoteSpline>)",
     LoadStatus::kLoaded, With({{0, {{{1, 1}}, {{4, 4}}}}})},
    {"NoNotesAtAll", R"(<?xml version="1.0" ?><RectSize Width="5" Height="5" />)",
     LoadStatus::kLoaded, MarkedNotes()},
    {"BlankTextIsEmpty", " \r\n\t\n", LoadStatus::kEmpty, MarkedNotes()},
    {"NulByteBetweenNotesStopsThere",
     "<NewNoteSpline Index=\"0\" />\n\0<NewNoteSpline Index=\"1\" />"s, LoadStatus::kLoaded,
     With({{0, {}}}), "a NUL byte", 2, 1},
    {"NulPaddedTailIsNoStop", "<NewNoteSpline Index=\"0\" />\n\0\0\0\0"s, LoadStatus::kLoaded,
     With({{0, {}}})},
    {"OpenCommentSwallowsTheRest",
     "<NewNoteSpline Index=\"0\" />\r\n  <!-- TODO\r\n<NewNoteSpline Index=\"1\" />\r\n",
     LoadStatus::kLoaded, With({{0, {}}}), "a comment that is never closed", 2, 3},
    {"OpenCdataSwallowsTheRest",
     "<NewNoteSpline Index=\"0\" />\n<![CDATA[ x ]]\n<NewNoteSpline Index=\"1\" />",
     LoadStatus::kLoaded, With({{0, {}}}), "a CDATA section that is never closed", 2, 1},
    {"CommentClosedAtTheVeryEnd", "<NewNoteSpline Index=\"0\" /><!---->", LoadStatus::kLoaded,
     With({{0, {}}})},
    {"Utf32IsNamed", "\xFF\xFE\0\0<\0\0\0N\0\0\0"s, LoadStatus::kUnreadable, MarkedNotes(),
     "UTF-32"},
    {"Utf32WithoutMarkIsNamed", "<\0\0\0N\0\0\0"s, LoadStatus::kUnreadable, MarkedNotes(),
     "UTF-32"},
    {"OneCharacterThenNulPaddingIsNoWideText", "\n\0\0\0\0\0\0\0"s, LoadStatus::kEmpty,
     MarkedNotes()},
    {"Utf16IsNamed", "\xFF\xFE<\0N\0"s, LoadStatus::kUnreadable, MarkedNotes(), "UTF-16"},
    // Conflict markers stop the reading where they stand, whatever the parser
    // would make of them, but not inside a comment, CDATA, processing
    // instruction or attribute value.
    {"ConflictMarkersDropTheNoteTheyAreIn",
     "<NewNoteSpline Index=\"0\" />\r\n<NewNoteSpline Index=\"1\"><NewSpline>\r\n"
     "<<<<<<< HEAD\r\n<ControlPoint PosX=\"1\" PosY=\"1\" />\r\n=======\r\n>>>>>>> b\r\n"
     "</NewSpline></NewNoteSpline>",
     LoadStatus::kLoaded, With({{0, {}}}), "conflict markers of an unfinished merge", 3, 1},
    {"MarkersBetweenNotes",
     "<NewNoteSpline Index=\"0\" />\n||||||| base\n<NewNoteSpline Index=\"1\" />",
     LoadStatus::kLoaded, With({{0, {}}}), "conflict markers", 2, 1},
    {"MarkerAfterTextThatEndsTheParse", "<NewNoteSpline Index=\"0\" />\nx\n>>>>>>> b\n",
     LoadStatus::kLoaded, With({{0, {}}}), "conflict markers", 3, 1},
    {"MarkerBetweenAttributes",
     "<NewNoteSpline Index=\"0\" />\n<NewNoteSpline\n<<<<<<< a\nIndex=\"1\" />",
     LoadStatus::kLoaded, With({{0, {}}}), "conflict markers", 3, 1},
    {"MarkersInCommentCdataDeclarationAndValueAreText",
     "<?xml version=\"1.0\"\n<<<<<<< a ?><!--\n<<<<<<< a\n--><?pi\n<<<<<<< b ?>"
     "<NewNoteSpline Index=\"0\" a=\"\n<<<<<<< a\n=======\n\"><![CDATA[\n>>>>>>> b\n]]>"
     "<NewSpline /></NewNoteSpline>",
     LoadStatus::kLoaded, With({{0, {Spline{}}}})},
    {"LinesLikeMarkersAreNone",
     "<NewNoteSpline Index=\"0\">\n======= \n<<<<<<<<x\n  >>>>>>> b\n<NewSpline />"
     "</NewNoteSpline>",
     LoadStatus::kLoaded, With({{0, {Spline{}}}})},
};

class LoadCaseTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadCaseTest, LeavesTheExpectedNotes) {
    const LoadCase& c = GetParam();
    NoteSet notes = MarkedNotes();
    const LoadOutcome out = ReadSplineText(c.xml, notes);
    EXPECT_EQ(out.found, c.status) << out.Problem().reason;
    EXPECT_EQ(notes, c.expected);
    EXPECT_EQ(out.Problem().reason.empty(),
              c.status != LoadStatus::kUnreadable && !out.StoppedEarly());
    EXPECT_NE(out.Problem().reason.find(c.reason), std::string::npos) << out.Problem().reason;
    if (c.line > 0) {
        EXPECT_TRUE(out.StoppedEarly());
        EXPECT_EQ(std::pair(out.Problem().line, out.Problem().column), std::pair(c.line, c.column));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadCaseTest, ::testing::ValuesIn(kLoadCases),
                         testing_support::CaseName());

TEST(SplineReaderTest, ParseErrorReportsTheParsersTextAndPlace) {
    NoteSet notes = MarkedNotes();
    const LoadOutcome out =
        ReadSplineText("<RectSize />\r\n<NewNoteSpline Index=\"0\">\r\n<NewSpline></Wrong>", notes);
    EXPECT_EQ(out.found, LoadStatus::kUnreadable);
    EXPECT_FALSE(out.Problem().reason.empty());
    EXPECT_EQ(out.Problem().line, 3);  // CR LF counts as one line end
    EXPECT_GT(out.Problem().column, 0);
}

// A hand-kept file in any line-end style reads as the canonical notes, and
// saving them gives the canonical text back.
TEST(SplineReaderTest, HandEditedFileSavesAsCanonicalText) {
    const std::string lf = test::DataFile("hand_edited.xml");
    std::string crlf;
    std::string cr;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    for (const std::string& bytes : {lf, crlf, cr}) {
        NoteSet notes = MarkedNotes();
        ASSERT_EQ(ReadSplineText(bytes, notes).found, LoadStatus::kLoaded);
        EXPECT_EQ(notes, test::DefaultNotes(test::kClient480));
        EXPECT_EQ(PrintSplines(notes, test::kClient480.right, test::kClient480.bottom),
                  WithSystemLineEnds(test::DataFile("default_480x360.xml")));
    }
}

TEST(SplineReaderTest, PrintedTextReadsBackUnchanged) {
    NoteSet notes;
    notes[0] = {{{-10, -20}, {INT32_MAX, INT32_MIN}}, Spline{}};
    notes[2] = {{{0, 0}}};
    NoteSet read = MarkedNotes();
    const std::string text = PrintSplines(notes, test::kClient480.right, test::kClient480.bottom);
    ASSERT_EQ(ReadSplineText(text, read).found, LoadStatus::kLoaded);
    EXPECT_EQ(read, notes);
}

}  // namespace
}  // namespace velmora
