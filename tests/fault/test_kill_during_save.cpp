// A save killed at any moment never leaves a damaged spline file: the file is
// always one of the versions saved, and a killed save's temporary file is
// cleaned up by the next save.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "io/spline_file.h"
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
            for (int p = 0; p < 2 + (v + s) % 9; ++p) spline.push_back({v * 10 + p, n * 20 + s});
            notes[n].push_back(spline);
        }
    }
    return notes;
}

// The temporary files a save left next to `path`.
int TemporaryFiles(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Splines.xml.", 0) == 0 && name != "Splines.xml.bak") ++count;
    }
    return count;
}

TEST(KillDuringSave, TheFileIsAlwaysOneWholeVersion) {
    constexpr int kVersions = 5;
    constexpr int kKills = 200;
    TempDir dir;
    const std::string path = dir.File("Splines.xml");

    std::set<std::string> versions;
    for (int v = 0; v < kVersions; ++v) versions.insert(PrintSplines(Version(v), kClient));
    ASSERT_TRUE(SplineFile(path).Save(Version(0), kClient).ok);

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicros(0, 4000);
    int killedWithTemporaryLeft = 0;
    for (int round = 0; round < kKills; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SplineFile file(path);
            for (int v = round;; ++v) file.Save(Version(v % kVersions), kClient);
        }
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
    ASSERT_TRUE(SplineFile(path).Save(Version(1), kClient).ok);
    EXPECT_EQ(TemporaryFiles(dir.Path()), 0);
    EXPECT_EQ(ReadFile(path), PrintSplines(Version(1), kClient));
    RecordProperty("kills_with_a_temporary_file_left", killedWithTemporaryLeft);
    // The kills did land in the middle of saves.
    EXPECT_GT(killedWithTemporaryLeft, 0);
}

}  // namespace
}  // namespace velmora
