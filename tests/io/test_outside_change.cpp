// Whatever start-up found in place of the spline file (nothing, a folder, a
// file it could not read) and whatever a failed save left, a file that
// another program puts there later is kept as a backup by the next save,
// which says so.
#include <cerrno>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "io/disk/file_read.h"
#include "io/file_messages.h"
#include "io/spline_file.h"
#include "io_test_util.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::kClient480;
using Dir = const testing_support::TempDir&;

const std::string kOutside = "another program's version\n";

// Fails reads during the load, refuses the exchange, fails the first save's
// last step: as each case asks.
class Scripted : public FileSystem {
public:
    bool failReads = false;
    bool noExchange = false;
    bool failNextPlacing = false;

    Status Read(const FileHandle& file, void* data, std::size_t size,
                std::size_t* got) const override {
        return failReads ? SystemFailure(EIO) : FileSystem::Read(file, data, size, got);
    }
    Status Exchange(const std::string& first, const std::string& second) const override {
        return noExchange  ? SystemFailure(EINVAL, StatusCode::kNotSupported)
               : Placing() ? SystemFailure(EIO)
                           : FileSystem::Exchange(first, second);
    }
    Status Rename(const std::string& from, const std::string& to) const override {
        return Placing() ? SystemFailure(EIO) : FileSystem::Rename(from, to);
    }

private:
    bool Placing() const {
        const bool fail = failNextPlacing;
        const_cast<Scripted*>(this)->failNextPlacing = false;
        return fail;
    }
};

struct Situation {
    const char* name;
    void (*setUp)(Dir);
    void (*outside)(Dir);  // puts kOutside where Splines.xml leads
    const char* told;      // part of the start-up message
    bool unreadable = false;
    bool noExchange = false;
    bool failedSave = false;  // a save fails before the outside change
};

void WriteOutside(Dir d) { testing_support::WriteFile(d.File("Splines.xml"), kOutside); }

void MakeTooLarge(Dir d) {
    testing_support::WriteFile(d.File("Splines.xml"), "x");
    std::filesystem::resize_file(d.File("Splines.xml"), kMaxSplineFileBytes + 1);
}

const Situation kSituations[] = {
    {"Missing", [](Dir) {}, WriteOutside, ""},
    {"Folder", [](Dir d) { ASSERT_TRUE(std::filesystem::create_directory(d.File("Splines.xml"))); },
     [](Dir d) {
         ASSERT_TRUE(std::filesystem::remove(d.File("Splines.xml")));
         WriteOutside(d);
     },
     "nothing can be saved there"},
    {"Unreadable", [](Dir d) { testing_support::WriteFile(d.File("Splines.xml"), "<a/>"); },
     [](Dir d) {
         testing_support::WriteFile(d.File("new"), kOutside);
         std::filesystem::rename(d.File("new"), d.File("Splines.xml"));
     },
     "cannot be read", true},
    {"TooLarge", MakeTooLarge, WriteOutside, "larger than"},
    {"AfterAStreamedBackupAndAFailedRename", MakeTooLarge, WriteOutside, "larger than", false, true,
     true},
#ifndef _WIN32
    // FIFOs and symbolic links: POSIX only.
    {"Fifo", [](Dir d) { ASSERT_EQ(::mkfifo(d.File("Splines.xml").c_str(), 0644), 0); },
     [](Dir d) {
         ASSERT_EQ(::unlink(d.File("Splines.xml").c_str()), 0);
         WriteOutside(d);
     },
     "nothing can be saved there"},
    {"LinkToFolder",
     [](Dir d) {
         ASSERT_EQ(::mkdir(d.File("real").c_str(), 0755), 0);
         ASSERT_EQ(::symlink("real", d.File("Splines.xml").c_str()), 0);
     },
     [](Dir d) {
         ASSERT_EQ(::rmdir(d.File("real").c_str()), 0);
         testing_support::WriteFile(d.File("real"), kOutside);
     },
     "nothing can be saved there"},
    {"DanglingLinkIntoMissingFolder",
     [](Dir d) { ASSERT_EQ(::symlink("gone/Splines.xml", d.File("Splines.xml").c_str()), 0); },
     [](Dir d) {
         ASSERT_EQ(::mkdir(d.File("gone").c_str(), 0755), 0);
         testing_support::WriteFile(d.File("gone/Splines.xml"), kOutside);
     },
     "cannot be created"},
#endif
};

class OutsideChangeTest : public ::testing::TestWithParam<Situation> {};

TEST_P(OutsideChangeTest, IsKeptAndTold) {
    const Situation& s = GetParam();
    const testing_support::TempDir dir;
    s.setUp(dir);
    if (HasFatalFailure())
        return;
    Scripted fs;
    fs.noExchange = s.noExchange;
    SplineFile file(dir.File("Splines.xml"), fs);
    NoteSet notes = test::DefaultNotes(kClient480);
    fs.failReads = s.unreadable;
    const LoadOutcome loaded = file.Load(notes);
    fs.failReads = false;
    file.MatchLoaded(notes, kClient480.right, kClient480.bottom);
    const std::string message = LoadMessage(loaded, file.Path());
    EXPECT_EQ(message.empty(), *s.told == '\0') << message;
    EXPECT_NE(message.find(s.told), std::string::npos) << message;
    if (s.failedSave) {
        fs.failNextPlacing = true;
        ASSERT_FALSE(file.Save(notes, kClient480.right, kClient480.bottom).status.ok());
    }
    s.outside(dir);
    if (HasFatalFailure())
        return;

    const SaveOutcome out = file.Save(test::MarkedNotes(), kClient480.right, kClient480.bottom);
    EXPECT_TRUE(out.status.ok()) << out.status.reason;
    EXPECT_TRUE(out.changedElsewhere);
    EXPECT_EQ(testing_support::ReadFile(out.backup), kOutside) << out.backup;
}

INSTANTIATE_TEST_SUITE_P(StartUps, OutsideChangeTest, ::testing::ValuesIn(kSituations),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
