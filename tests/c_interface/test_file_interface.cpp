// The spline file through the C interface: from disk and from memory, each
// source gives the status, place and splines the editor's load gives.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <velmora/splinefile.h>
#include <velmora/splinefile.hpp>

#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace {

using velmora::testing_support::TempDir;
using velmora::testing_support::WriteFile;

struct FileFree {
    void operator()(velmora_file* file) const { velmora_file_free(file); }
};
using File = std::unique_ptr<velmora_file, FileFree>;

enum class Source {
    kText,       // `text` as a file and as bytes in memory
    kMissing,    // a path with no file
    kFolder,     // a folder named "bad\xFF.xml": the reason names a path that is no UTF-8
    kNullPath,   // velmora_file_read(NULL)
    kNullBytes,  // velmora_file_parse(NULL, size)
    kOversized,  // one byte beyond the limit of a file
};

struct FileCase {
    const char* name;
    Source source;
    std::string text;
    size_t size;  // for kNullBytes
    int status;
    int line;
    int column;
    std::array<size_t, 4> splines;
    bool hasReason;
};

const std::string kTwoPoints =
    "<NewNoteSpline Index=\"1\"><NewSpline><ControlPoint PosX=\"1\" PosY=\"2\" />"
    "<ControlPoint PosX=\"3\" PosY=\"4\" /></NewSpline>"
    "<NewSpline><ControlPoint PosX=\"5\" PosY=\"6\" /></NewSpline></NewNoteSpline>\n";

std::vector<File> Open(const FileCase& c, const TempDir& dir) {
    std::vector<File> files;
    switch (c.source) {
    case Source::kText:
        WriteFile(dir.File("Splines.xml"), c.text);
        files.emplace_back(velmora_file_read(dir.File("Splines.xml").c_str()));
        files.emplace_back(velmora_file_parse(c.text.data(), c.text.size()));
        break;
    case Source::kMissing:
        files.emplace_back(velmora_file_read(dir.File("none.xml").c_str()));
        break;
    case Source::kFolder:
#ifdef _WIN32
        ::mkdir(dir.File("bad\xFF.xml").c_str());
#else
        ::mkdir(dir.File("bad\xFF.xml").c_str(), 0700);
#endif
        files.emplace_back(velmora_file_read(dir.File("bad\xFF.xml").c_str()));
        break;
    case Source::kNullPath: files.emplace_back(velmora_file_read(nullptr)); break;
    case Source::kNullBytes: files.emplace_back(velmora_file_parse(nullptr, c.size)); break;
    case Source::kOversized: {
        const std::string big(16 * 1024 * 1024 + 1, ' ');
        files.emplace_back(velmora_file_parse(big.data(), big.size()));
        break;
    }
    }
    return files;
}

class CFileInterface : public testing::TestWithParam<FileCase> {};

TEST_P(CFileInterface, GivesWhatTheEditorsLoadGives) {
    const FileCase& c = GetParam();
    const TempDir dir;
    for (const File& file : Open(c, dir)) {
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(velmora_file_status(file.get()), c.status) << velmora_file_reason(file.get());
        EXPECT_EQ(velmora_file_line(file.get()), c.line);
        EXPECT_EQ(velmora_file_column(file.get()), c.column);
        const std::string reason = velmora_file_reason(file.get());
        EXPECT_EQ(!reason.empty(), c.hasReason) << reason;
        // The folder's name holds the byte 0xFF, which the reason replaces.
        EXPECT_EQ(reason.find('\xFF'), std::string::npos) << reason;
        EXPECT_EQ(reason.find("\xEF\xBF\xBD") != std::string::npos, c.source == Source::kFolder);
        for (int note = 0; note < 4; ++note)
            EXPECT_EQ(velmora_file_spline_count(file.get(), note), c.splines[note]) << note;
    }
}

const std::array<size_t, 4> kDefaults{1, 1, 1, 1};

INSTANTIATE_TEST_SUITE_P(
    Sources, CFileInterface,
    testing::Values(
        FileCase{
            "Loaded", Source::kText, kTwoPoints, 0, VELMORA_FILE_LOADED, 0, 0, {1, 2, 1, 1}, false},
        FileCase{"PartialAtNoteWithoutIndex",
                 Source::kText,
                 kTwoPoints + "<NewNoteSpline />",
                 0,
                 VELMORA_FILE_PARTIAL,
                 2,
                 1,
                 {1, 2, 1, 1},
                 true},
        FileCase{"PartialAtStrayText",
                 Source::kText,
                 kTwoPoints + "\n  stray",
                 0,
                 VELMORA_FILE_PARTIAL,
                 3,
                 3,
                 {1, 2, 1, 1},
                 true},
        FileCase{"Unreadable", Source::kText, "<NewNoteSpline Index=\"0\">\n<NewSpline", 0,
                 VELMORA_FILE_UNREADABLE, 2, 2, kDefaults, true},
        FileCase{"ZeroBytes", Source::kText, "", 0, VELMORA_FILE_EMPTY, 0, 0, kDefaults, false},
        FileCase{"Blank", Source::kText, " \r\n\t", 0, VELMORA_FILE_EMPTY, 0, 0, kDefaults, false},
        FileCase{"PartialAtConflictMarkers",
                 Source::kText,
                 kTwoPoints + "<<<<<<< ours\n<NewNoteSpline Index=\"2\" />\n=======\n>>>>>>> b\n",
                 0,
                 VELMORA_FILE_PARTIAL,
                 2,
                 1,
                 {1, 2, 1, 1},
                 true},
        FileCase{"Missing", Source::kMissing, "", 0, VELMORA_FILE_MISSING, 0, 0, kDefaults, true},
#ifndef _WIN32  // Windows names are UTF-16: none holds a byte that is no UTF-8
        FileCase{"FolderWithNonUtf8Name", Source::kFolder, "", 0, VELMORA_FILE_UNREADABLE, 0, 0,
                 kDefaults, true},
#endif
        FileCase{"NullPath", Source::kNullPath, "", 0, VELMORA_FILE_UNREADABLE, 0, 0, kDefaults,
                 true},
        FileCase{"NullBytesOfSizeZero", Source::kNullBytes, "", 0, VELMORA_FILE_EMPTY, 0, 0,
                 kDefaults, false},
        FileCase{"NullBytesOfSizeFive", Source::kNullBytes, "", 5, VELMORA_FILE_UNREADABLE, 0, 0,
                 kDefaults, true},
        FileCase{"LargerThanAFileMayBe", Source::kOversized, "", 0, VELMORA_FILE_UNREADABLE, 0, 0,
                 kDefaults, true}),
    velmora::testing_support::CaseName());

// Points are copied up to the capacity; a note or spline the file does not
// have, and a NULL file, give 0 and "".
TEST(CFileInterface, CopiesPointsWithinTheCapacity) {
    const File file(velmora_file_parse(kTwoPoints.data(), kTwoPoints.size()));
    int32_t xy[6] = {-7, -7, -7, -7, -7, -7};
    EXPECT_EQ(velmora_file_points(file.get(), 1, 0, nullptr, 0), 2u);
    EXPECT_EQ(velmora_file_points(file.get(), 1, 0, xy, 1), 2u);
    EXPECT_EQ((std::vector<int32_t>(xy, xy + 3)), (std::vector<int32_t>{1, 2, -7}));
    EXPECT_EQ(velmora_file_points(file.get(), 1, 0, xy, 3), 2u);
    EXPECT_EQ((std::vector<int32_t>(xy, xy + 6)), (std::vector<int32_t>{1, 2, 3, 4, -7, -7}));
    EXPECT_EQ(velmora_file_points(file.get(), 1, 1, xy, 3), 1u);
    EXPECT_EQ(xy[0], 5);
    for (const auto& [note, spline] : {std::pair{-1, size_t{0}}, {4, 0}, {1, 2}, {0, 1}})
        EXPECT_EQ(velmora_file_points(file.get(), note, spline, xy, 3), 0u) << note << spline;
    EXPECT_EQ(velmora_file_spline_count(file.get(), 4), 0u);

    EXPECT_EQ(velmora_file_points(nullptr, 0, 0, xy, 3), 0u);
    EXPECT_EQ(velmora_file_spline_count(nullptr, 0), 0u);
    EXPECT_EQ(velmora_file_status(nullptr), VELMORA_FILE_UNREADABLE);
    EXPECT_STREQ(velmora_file_reason(nullptr), "");
    velmora_file_free(nullptr);
}

// The origin and targets are where the reader's default splines start and
// end, the same from C and C++; a note outside 0..3 writes nothing.
TEST(CFileInterface, GivesTheEditorsStarsWhereDefaultSplinesRun) {
    const File empty(velmora_file_parse("", 0));
    int32_t origin[2] = {-7, -7};
    velmora_editor_origin(&origin[0], &origin[1]);
    EXPECT_EQ((velmora::Point{origin[0], origin[1]}), velmora::EditorOrigin());
    for (int note = -1; note <= 4; ++note) {
        int32_t target[2] = {-7, -7}, spline[4] = {};
        const bool inRange = note >= 0 && note < 4;
        ASSERT_EQ(velmora_editor_target(note, &target[0], &target[1]), inRange ? 1 : 0);
        if (!inRange) {
            EXPECT_EQ(target[0], -7) << note;
            continue;
        }
        ASSERT_EQ(velmora_file_points(empty.get(), note, 0, spline, 2), 2u);
        EXPECT_EQ((std::vector<int32_t>(spline, spline + 4)),
                  (std::vector<int32_t>{origin[0], origin[1], target[0], target[1]}));
        EXPECT_EQ((velmora::Point{target[0], target[1]}), velmora::EditorTargets()[note]);
    }
}

}  // namespace
