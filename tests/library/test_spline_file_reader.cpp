// The installed reader gives what the editor shows after start-up, and never
// creates, changes or removes the file it reads.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include <velmora/splinefile.hpp>

#include "tests/support/case_names.h"

namespace {

using velmora::NoteSet;
using velmora::SplineFileStatus;

// Every note's default spline in the 480 x 360 client: origin to target.
const NoteSet kDefaults{{{{{424, 238}, {75, 75}}},
                         {{{424, 238}, {184, 75}}},
                         {{{424, 238}, {295, 75}}},
                         {{{424, 238}, {405, 75}}}}};

struct ReaderCase {
    const char* name;
    std::optional<std::string> text;  // no file at all when empty
    SplineFileStatus status;
    NoteSet notes;
    std::string messageStart;
};

NoteSet WithNote0(velmora::SplineList splines) {
    NoteSet notes = kDefaults;
    notes[0] = std::move(splines);
    return notes;
}

class SplineFileReader : public testing::TestWithParam<ReaderCase> {};

TEST_P(SplineFileReader, GivesWhatTheEditorShows) {
    const ReaderCase& c = GetParam();
    const std::string path = testing::TempDir() + "reader_" + c.name + ".xml";
    std::remove(path.c_str());
    if (c.text)
        std::ofstream(path, std::ios::binary) << *c.text;

    const velmora::SplineFileContents got = velmora::ReadSplineFile(path);
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(got.notes, c.notes);
    EXPECT_EQ(got.message.substr(0, c.messageStart.size()), c.messageStart);
    EXPECT_EQ(got.message.empty(), c.messageStart.empty());
    EXPECT_EQ(::access(path.c_str(), F_OK) == 0, c.text.has_value()) << "file created or removed";
    std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SplineFileReader,
    testing::Values(
        ReaderCase{"Missing", std::nullopt, SplineFileStatus::kMissing, kDefaults, ""},
        ReaderCase{"Blank", " \n", SplineFileStatus::kEmpty, kDefaults, ""},
        ReaderCase{"Broken", "<NewNoteSpline Index=\"0\">\n<NewSpline",
                   SplineFileStatus::kUnreadable, kDefaults, "The spline file \""},
        ReaderCase{"EmptyNoteGetsItsDefault",
                   "<NewNoteSpline Index=\"0\"><NewSpline><ControlPoint PosX=\"1\" PosY=\"2\" />"
                   "</NewSpline></NewNoteSpline><NewNoteSpline Index=\"1\" />",
                   SplineFileStatus::kLoaded, WithNote0({{{1, 2}}}), ""}),
    velmora::testing_support::CaseName());

}  // namespace
