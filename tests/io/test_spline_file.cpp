#include "io/spline_file.h"

#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "io/file_read.h"
#include "io_test_util.h"

namespace velmora {
namespace {

using test::kClient480;

TEST(SplineFileTest, MissingFileIsCreatedEmptyAndThenReadsAsEmpty) {
    const test::TempDir dir;
    SplineFile file(dir.File("Splines.xml"));
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).status, LoadStatus::kCreated);
    EXPECT_EQ(test::ReadBytes(file.Path()), "");

    const LoadOutcome again = file.Load(notes);
    EXPECT_EQ(again.status, LoadStatus::kEmpty);
    EXPECT_TRUE(again.reason.empty());
    EXPECT_EQ(test::ReadBytes(file.Path()), "");
    EXPECT_EQ(notes, test::MarkedNotes());
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

TEST(SplineFileTest, MissingFolderCreatesNothing) {
    const test::TempDir dir;
    SplineFile file(dir.File("gone/Splines.xml"));
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).status, LoadStatus::kEmpty);
    EXPECT_EQ(notes, test::MarkedNotes());
    EXPECT_EQ(dir.Listing(), "");
}

TEST(SplineFileTest, FolderOfThatNameIsUnreadableAndKept) {
    const test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("Splines.xml").c_str(), 0755), 0);
    SplineFile file(dir.File("Splines.xml"));
    NoteSet notes = test::MarkedNotes();
    const LoadOutcome out = file.Load(notes);
    EXPECT_EQ(out.status, LoadStatus::kUnreadable);
    EXPECT_NE(out.reason.find("folder"), std::string::npos) << out.reason;
    EXPECT_EQ(notes, test::MarkedNotes());

    const SaveOutcome saved = file.Save(notes, kClient480);
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

TEST(SplineFileTest, FifoOfThatNameIsRefusedWithoutBlocking) {
    const test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("Splines.xml").c_str(), 0644), 0);
    SplineFile file(dir.File("Splines.xml"));
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).status, LoadStatus::kUnreadable);
    EXPECT_EQ(notes, test::MarkedNotes());
}

TEST(SplineFileTest, FileWithoutReadPermissionIsUnreadableAndKept) {
    const test::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    test::WriteBytes(path, "private");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    if (::access(path.c_str(), R_OK) == 0) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    SplineFile file(path);
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).status, LoadStatus::kUnreadable);
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(test::ReadBytes(path), "private");
}

TEST(SplineFileTest, LoadThenSaveGivesTheCanonicalFileWithItsPermissions) {
    const test::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    test::WriteBytes(path, test::DataFile("hand_edited.xml"));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    SplineFile file(path);
    NoteSet notes = test::MarkedNotes();
    ASSERT_EQ(file.Load(notes).status, LoadStatus::kLoaded);
    ASSERT_TRUE(file.Save(notes, kClient480).ok);
    EXPECT_EQ(test::ReadBytes(path), test::DataFile("default_480x360.xml"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

TEST(SplineFileTest, SaveIntoMissingFolderFailsWithAReason) {
    const test::TempDir dir;
    SplineFile file(dir.File("gone/Splines.xml"));
    const SaveOutcome out = file.Save(test::DefaultNotes(kClient480), kClient480);
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.reason.find("gone/Splines.xml"), std::string::npos) << out.reason;
    EXPECT_EQ(dir.Listing(), "");
}

TEST(SplineFileTest, SaveIntoReadOnlyFolderLeavesTheOldFile) {
    const test::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    test::WriteBytes(path, "old\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    if (::access(dir.Path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with rights that write any folder";
    }
    SplineFile file(path);
    EXPECT_FALSE(file.Save(test::DefaultNotes(kClient480), kClient480).ok);
    EXPECT_EQ(test::ReadBytes(path), "old\n");
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

// Writes `bytes` as the file, or a sparse file just over the size limit when
// `bytes` is empty.
void PlaceUnreadable(const std::string& path, const std::string& bytes) {
    if (!bytes.empty()) {
        test::WriteBytes(path, bytes);
        return;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxSplineFileBytes) + 1), 0);
    ::close(fd);
}

struct Unreadable {
    const char* name;
    std::string bytes;  // empty: a sparse file just over the size limit
};
void PrintTo(const Unreadable& u, std::ostream* os) { *os << u.name; }

class UnreadableFileTest : public ::testing::TestWithParam<Unreadable> {};

// The unreadable file survives as .bak (replacing an older one) on the
// first save; later saves leave the .bak alone.
TEST_P(UnreadableFileTest, FirstSaveKeepsItAsBackup) {
    const test::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    PlaceUnreadable(path, GetParam().bytes);
    const std::string original = test::ReadBytes(path);
    test::WriteBytes(path + ".bak", "an older backup");

    SplineFile file(path);
    NoteSet notes = test::MarkedNotes();
    const LoadOutcome out = file.Load(notes);
    ASSERT_EQ(out.status, LoadStatus::kUnreadable);
    EXPECT_FALSE(out.reason.empty());
    EXPECT_EQ(notes, test::MarkedNotes());
    EXPECT_EQ(test::ReadBytes(path), original);  // loading never touches it

    ASSERT_TRUE(file.Save(test::DefaultNotes(kClient480), kClient480).ok);
    EXPECT_EQ(test::ReadBytes(path + ".bak"), original);
    EXPECT_EQ(test::ReadBytes(path), test::DataFile("default_480x360.xml"));

    ASSERT_TRUE(file.Save(notes, kClient480).ok);
    EXPECT_EQ(test::ReadBytes(path + ".bak"), original);
    EXPECT_EQ(dir.Listing(), "Splines.xml;Splines.xml.bak;");
}

std::string NestedTooDeep() {
    std::string text;
    for (int i = 0; i < 70; ++i) {
        text += "<a>";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnreadableFileTest,
    ::testing::Values(
        Unreadable{"ParseError", "<NewNoteSpline Index=\"0\"><NewSpline></NewNoteSpline>\n"},
        Unreadable{"NotXml", "plain text, not XML\n"},
        Unreadable{"NulByte", std::string("<a>\0</a>", 8)},
        Unreadable{"TooDeep", NestedTooDeep()}, Unreadable{"TooLarge", std::string()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplineFileTest, FailedBackupFailsTheSaveAndIsRetried) {
    const test::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    test::WriteBytes(path, "<broken");
    ASSERT_EQ(::mkdir((path + ".bak").c_str(), 0755), 0);
    SplineFile file(path);
    NoteSet notes = test::DefaultNotes(kClient480);
    ASSERT_EQ(file.Load(notes).status, LoadStatus::kUnreadable);

    EXPECT_FALSE(file.Save(notes, kClient480).ok);
    EXPECT_EQ(test::ReadBytes(path), "<broken");

    ASSERT_EQ(::rmdir((path + ".bak").c_str()), 0);
    ASSERT_TRUE(file.Save(notes, kClient480).ok);
    EXPECT_EQ(test::ReadBytes(path + ".bak"), "<broken");
    EXPECT_EQ(dir.Listing(), "Splines.xml;Splines.xml.bak;");
}

TEST(SplineFileTest, ReadableReloadDropsThePendingBackup) {
    const test::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    test::WriteBytes(path, "<broken");
    SplineFile file(path);
    NoteSet notes = test::DefaultNotes(kClient480);
    ASSERT_EQ(file.Load(notes).status, LoadStatus::kUnreadable);
    test::WriteBytes(path, test::DataFile("default_480x360.xml"));
    ASSERT_EQ(file.Load(notes).status, LoadStatus::kLoaded);
    ASSERT_TRUE(file.Save(notes, kClient480).ok);
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

}  // namespace
}  // namespace velmora
