#include "io/xml/read_limits.h"

#include <gtest/gtest.h>

#include <fstream>

#include "io/file_messages.h"
#include "io/spline_file.h"
#include "tests/io/io_test_util.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::kClient480;

// A save whose file the next start would refuse writes nothing; one just
// within the limits is written and reads back whole.
TEST(ReadLimitsTest, SaveOnlyWhatTheNextStartReads) {
    const struct {
        size_t points;
        bool saved;
    } cases[] = {{kMaxReadNodes / 3 - 20, true}, {kMaxReadNodes / 3, false}};
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        const std::string path = dir.File("Splines.xml");
        testing_support::WriteFile(path, "old");
        NoteSet notes = test::DefaultNotes(kClient480);
        notes[2] = {Spline(c.points, Point{7, 8})};

        SplineFile file(path);
        const SaveOutcome out = file.Save(notes, kClient480.right, kClient480.bottom);
        EXPECT_EQ(out.status.ok(), c.saved) << c.points;
        if (!c.saved) {
            EXPECT_NE(out.status.reason.find("more than"), std::string::npos) << out.status.reason;
            EXPECT_EQ(testing_support::ReadFile(path), "old");
            EXPECT_EQ(dir.Listing(), "Splines.xml;");
            continue;
        }
        NoteSet loaded = test::MarkedNotes();
        EXPECT_EQ(file.Load(loaded).found, LoadStatus::kLoaded);
        EXPECT_EQ(loaded, notes);
    }
}

// The file that costs a save the most: no declaration, no RectSize, three
// notes left to their default spline, and one note of `points` points.
// Within the documented node count it loads without a word and saves
// unchanged; past what a save can write, the start-up says so.
TEST(ReadLimitsTest, AFileLoadedWithoutAWarningSavesAgain) {
    const struct {
        size_t points;
        bool warned;
    } cases[] = {
        {(kMaxXmlNodes - 3) / 3, false},  // the file holds kMaxXmlNodes nodes
        {(kMaxReadNodes - 3) / 3, true},  // it loads, but its save would not
    };
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        const std::string path = dir.File("Splines.xml");
        {
            std::ofstream out(path);
            out << "<NewNoteSpline Index=\"1\"><NewSpline>";
            for (size_t i = 0; i < c.points; ++i)
                out << "<ControlPoint PosX=\"1\" PosY=\"2\"/>";
            out << "</NewSpline></NewNoteSpline>";
        }
        NoteSet notes = test::DefaultNotes(kClient480);
        SplineFile file(path);
        const LoadOutcome loaded = file.Load(notes);
        ASSERT_EQ(loaded.found, LoadStatus::kLoaded) << loaded.Problem().reason;
        EXPECT_EQ(loaded.tooLargeToSave, c.warned) << c.points;
        EXPECT_EQ(LoadMessage(loaded, path).empty(), !c.warned);
        EXPECT_EQ(loaded.savedNodes, SavedNodeCount(notes));
        const SaveOutcome saved = file.Save(notes, kClient480.right, kClient480.bottom);
        EXPECT_EQ(saved.status.ok(), !c.warned) << saved.status.reason;
        if (saved.status.ok()) {
            const std::string text = testing_support::ReadFile(path);
            EXPECT_EQ(CheckReadLimits(text, TIXML_DEFAULT_ENCODING).scan.nodes, loaded.savedNodes);
        }
    }
}

}  // namespace
}  // namespace velmora
