#include "io/read_limits.h"

#include <gtest/gtest.h>

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
    } cases[] = {{kMaxXmlNodes / 3 - 20, true}, {kMaxXmlNodes / 3, false}};
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        const std::string path = dir.File("Splines.xml");
        testing_support::WriteFile(path, "old");
        NoteSet notes = test::DefaultNotes(kClient480);
        notes[2] = {Spline(c.points, Point{7, 8})};

        SplineFile file(path);
        const SaveOutcome out = file.Save(notes, kClient480.right, kClient480.bottom);
        EXPECT_EQ(out.ok, c.saved) << c.points;
        if (!c.saved) {
            EXPECT_NE(out.reason.find("more than"), std::string::npos) << out.reason;
            EXPECT_EQ(testing_support::ReadFile(path), "old");
            EXPECT_EQ(dir.Listing(), "Splines.xml;");
            continue;
        }
        NoteSet loaded = test::MarkedNotes();
        EXPECT_EQ(file.Load(loaded).status, LoadStatus::kLoaded);
        EXPECT_EQ(loaded, notes);
    }
}

}  // namespace
}  // namespace velmora
