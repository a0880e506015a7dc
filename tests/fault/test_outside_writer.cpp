// A real outside writer writes versions of its own into the spline file
// while the editor saves every 0.15 s: no version is lost. It replaces the
// file atomically, or rewrites it in place, pausing half way.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "io/spline_file.h"
#include "io/spline_writer.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;
using testing_support::ReadFile;

constexpr Rect kClient{0, 0, 480, 360};

// The first line of a file: an outside version's own number is there.
std::string FirstLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string Marker(int version) {
    return "<!-- outside version " + std::to_string(version) + " -->";
}

struct Count {
    int versions = 0;
    int lost = 0;
};

// Writes `text` into the file at `path` in place, in two parts with a pause
// between, as an editor that rewrites its file does.
void WriteInPlace(const std::string& path, const std::string& text, int pauseMs) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const std::size_t half = text.size() / 2;
    EXPECT_EQ(::write(fd, text.data(), half), static_cast<ssize_t>(half));
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    EXPECT_EQ(::write(fd, text.data() + half, text.size() - half),
              static_cast<ssize_t>(text.size() - half));
    ::close(fd);
}

// Each outside version is written after a random pause and stays until a
// save that began after it has ended, so every one was in the way of a save.
Count RunFor(Clock::duration length, const NoteSet& notes, const std::string& body, bool inPlace) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    SplineFile file(path);
    NoteSet loaded = notes;
    file.Load(loaded);
    std::atomic<int> begun{0};
    std::atomic<int> ended{0};
    std::atomic<bool> stop{false};
    int written = 0;
    std::thread writer([&] {
        std::mt19937 random(written + 7);
        std::uniform_int_distribution<int> pauseMs(0, 150);
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs(random)));
            const std::string version = Marker(written) + "\n" + body;
            if (inPlace) {
                WriteInPlace(path, version, pauseMs(random) / 10);
            } else {
                const std::string side = dir.File("outside.new");
                testing_support::WriteFile(side, version);
                std::rename(side.c_str(), path.c_str());
            }
            ++written;
            const int next = begun + 1;
            while (!stop && ended < next)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const Clock::time_point end = Clock::now() + length;
    while (Clock::now() < end) {
        ++begun;
        const SaveOutcome out = file.Save(notes, kClient.right, kClient.bottom);
        ++ended;
        EXPECT_TRUE(out.ok) << out.reason;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    stop = true;
    writer.join();
    std::vector<bool> found(static_cast<std::size_t>(written), false);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string line = FirstLine(entry.path().string());
        for (int v = 0; v < written; ++v)
            found[static_cast<std::size_t>(v)] =
                found[static_cast<std::size_t>(v)] || line == Marker(v);
    }
    Count count;
    count.versions = written;
    for (const bool kept : found)
        count.lost += !kept;
    return count;
}

struct StressCase {
    const char* name;
    int points;  // of the notes saved and of the outside versions; 0: the example file
    bool inPlace;
    int seconds;
};

const StressCase kStress[] = {
    {"RenamesLargeFile", 100000, false, 18},
    {"RenamesSmallFile", 0, false, 12},
    {"WritesInPlace", 0, true, 10},
};

class OutsideWriter : public ::testing::TestWithParam<StressCase> {};

// VELMORA_STRESS_SECONDS runs each row that long instead, for a longer look.
TEST_P(OutsideWriter, NoVersionIsLostWhileSavesRun) {
    const StressCase& c = GetParam();
    NoteSet notes;
    std::string body = ReadFile(VELMORA_TEST_DATA "/../../examples/Splines.xml");
    for (int n = 0; n < kNoteCount; ++n)
        notes[n] = {{{n, n}, {100 + n, 200}}};
    if (c.points > 0) {
        for (int p = 0; p < c.points; ++p)
            notes[p % kNoteCount][0].push_back({p % 480, p % 360});
        body = PrintSplines(notes, kClient.right, kClient.bottom);
    }
    const char* seconds = std::getenv("VELMORA_STRESS_SECONDS");
    const Count count = RunFor(std::chrono::seconds(seconds ? std::atoi(seconds) : c.seconds),
                               notes, body, c.inPlace);
    std::printf("%s: %d of %d outside versions lost\n", c.name, count.lost, count.versions);
    EXPECT_EQ(count.lost, 0);
    EXPECT_GT(count.versions, 5);
}

INSTANTIATE_TEST_SUITE_P(Writers, OutsideWriter, ::testing::ValuesIn(kStress),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
