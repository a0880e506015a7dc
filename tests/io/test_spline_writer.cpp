#include "io/xml/spline_writer.h"

#include <algorithm>
#include <climits>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "io/spline_file.h"
#include "io_test_util.h"
#include "tests/support/case_names.h"
#include "tests/support/spline_document.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::kClient480;

TEST(SplineWriterTest, DefaultNotesGiveTheTwentySixLineFile) {
    const std::string text =
        PrintSplines(test::DefaultNotes(kClient480), kClient480.right, kClient480.bottom);
    EXPECT_EQ(text, WithSystemLineEnds(test::DataFile("default_480x360.xml")));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 26);
    EXPECT_EQ(text.back(), '\n');
}

TEST(SplineWriterTest, EmptyListIsOneLineAndEmptySplineIsSelfClosing) {
    NoteSet notes = test::DefaultNotes(kClient480);
    notes[2].clear();
    notes[3] = {Spline{}, Spline{Point{-1, -2}}};
    const std::string text = PrintSplines(notes, 640, 480);
    EXPECT_NE(text.find(WithSystemLineEnds("<RectSize Width=\"640\" Height=\"480\" />\n")),
              std::string::npos);
    EXPECT_NE(text.find(WithSystemLineEnds(
                  "\n<NewNoteSpline Index=\"2\" />\n<NewNoteSpline Index=\"3\">\n"
                  "    <NewSpline />\n"
                  "    <NewSpline>\n"
                  "        <ControlPoint PosX=\"-1\" PosY=\"-2\" />\n"
                  "    </NewSpline>\n"
                  "</NewNoteSpline>\n")),
              std::string::npos)
        << text;
}

// The printed text must be what saving the same document to a file writes,
// for every shape of note set.
struct Shape {
    const char* name;
    NoteSet notes;
};

class PrintMatchesSaveFileTest : public ::testing::TestWithParam<Shape> {};

TEST_P(PrintMatchesSaveFileTest, ByteForByte) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("saved.xml");
    TiXmlDocument doc;
    testing_support::BuildSplineDocument(doc, GetParam().notes, kClient480.right,
                                         kClient480.bottom);
    ASSERT_TRUE(doc.SaveFile(path.c_str()));
    EXPECT_EQ(PrintSplines(GetParam().notes, kClient480.right, kClient480.bottom),
              testing_support::ReadFile(path));
}

NoteSet ManySplines() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        for (int s = 0; s < 5; ++s) {
            Spline spline;
            for (int p = 0; p < s; ++p) {
                spline.push_back(Point{n * 100 + p, -s * p});
            }
            notes[static_cast<std::size_t>(n)].push_back(spline);
        }
    }
    return notes;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PrintMatchesSaveFileTest,
    ::testing::Values(
        Shape{"Defaults", test::DefaultNotes(kClient480)}, Shape{"AllListsEmpty", NoteSet{}},
        Shape{"ManySplines", ManySplines()},
        Shape{"Extremes",
              NoteSet{{{{Point{INT32_MIN, INT32_MAX}}}, {Spline{}}, {}, {{Point{0, 0}}}}}}),
    testing_support::CaseName());

}  // namespace
}  // namespace velmora
