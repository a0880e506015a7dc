// A save killed at any moment never leaves a damaged spline file: the file is
// always one of the versions saved, a killed save's temporary file is cleaned
// up by the next save, and no other file in the folder is ever touched.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "io/disk/safe_write.h"
#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

constexpr Rect kClient{0, 0, 480, 360};

// Version v of the notes: sizes differ so that a torn file cannot pass for a
// whole one.
NoteSet Version(int v) {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        for (int s = 0; s <= (v * 7 + n) % 40; ++s) {
            Spline spline;
            for (int p = 0; p < 2 + (v + s) % 9; ++p)
                spline.push_back({v * 10 + p, n * 20 + s});
            notes[n].push_back(spline);
        }
    }
    return notes;
}

// The temporary files a save left in `folder`.
int TemporaryFiles(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (IsTemporaryOf(entry.path().filename().string(), "Splines.xml"))
            ++count;
    }
    return count;
}

// A file system without unnamed files: every save goes through a hidden name.
class HiddenNamesOnly : public FileSystem {
public:
    Status CreateUnnamed(const std::string&, FileHandle*) const override {
        return SystemFailure(EOPNOTSUPP, StatusCode::kNotSupported);
    }
};

// Files people keep beside the spline file, each holding its own name.
const char* const kNeighbours[] = {"Splines.xml.backup",
                                   "Splines.xml.241207",
                                   "Splines.xml.copy01",
                                   "Splines.xml.OLDv02",
                                   "Splines.xml.bak",
                                   "Splines.xml.orig",
                                   "Splines.xml.tmp",
                                   "Splines.xml.swp",
                                   "Splines.xml~",
                                   ".Splines.xml.swp",
                                   ".Splines.xml.123456.velmora-save~"};

// Saves under hidden names leave a file behind when killed, which the next
// save must clean up without touching any other file.
TEST(KillDuringSave, TheFileIsAlwaysOneWholeVersionAndNothingElseIsTouched) {
    constexpr int kVersions = 5;
    constexpr int kKills = 200;
    const HiddenNamesOnly ops;
    TempDir dir;
    const std::string path = dir.File("Splines.xml");
    for (const char* name : kNeighbours)
        testing_support::WriteFile(dir.File(name), name);

    std::set<std::string> versions;
    for (int v = 0; v < kVersions; ++v)
        versions.insert(PrintSplines(Version(v), kClient.right, kClient.bottom));
    // A hundred saves time one save, so that each kill below lands anywhere
    // in the first three saves of a child that is already running.
    const auto start = std::chrono::steady_clock::now();
    for (int save = 0; save < 100; ++save) {
        ASSERT_TRUE(SplineFile(path, ops)
                        .Save(Version(save % kVersions), kClient.right, kClient.bottom)
                        .status.ok());
    }
    const auto oneSave = std::chrono::duration_cast<std::chrono::microseconds>(
        (std::chrono::steady_clock::now() - start) / 100);
    std::mt19937 random(12345);
    std::uniform_int_distribution<long long> delayMicros(0, 3 * oneSave.count() + 1);
    int killedWithTemporaryLeft = 0;
    for (int round = 0; round < kKills; ++round) {
        int running[2];
        ASSERT_EQ(::pipe(running), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SplineFile file(path, ops);
            (void)!::write(running[1], "", 1);
            for (int v = round;; ++v)
                file.Save(Version(v % kVersions), kClient.right, kClient.bottom);
        }
        char byte = 0;
        (void)!::read(running[0], &byte, 1);
        ::close(running[0]);
        ::close(running[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        ASSERT_EQ(versions.count(ReadFile(path)), 1u) << "round " << round;
        // At most the one temporary file of the save that was killed: every
        // save first clears those of earlier killed saves.
        const int temporaries = TemporaryFiles(dir.Path());
        ASSERT_LE(temporaries, 1) << "round " << round;
        killedWithTemporaryLeft += temporaries;
    }
    ASSERT_TRUE(SplineFile(path, ops).Save(Version(1), kClient.right, kClient.bottom).status.ok());
    EXPECT_EQ(TemporaryFiles(dir.Path()), 0);
    EXPECT_EQ(ReadFile(path), PrintSplines(Version(1), kClient.right, kClient.bottom));
    for (const char* name : kNeighbours)
        EXPECT_EQ(ReadFile(dir.File(name)), name);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
              std::size(kNeighbours) + 1);
    RecordProperty("kills_with_a_temporary_file_left", killedWithTemporaryLeft);
    // The kills did land in the middle of saves.
    EXPECT_GT(killedWithTemporaryLeft, 0);
}

}  // namespace
}  // namespace velmora
