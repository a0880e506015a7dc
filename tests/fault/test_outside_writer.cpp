// A real outside writer writes versions of its own into the spline file
// while the editor saves every 0.15 s: no version is lost. It replaces the
// file atomically, or rewrites it in place, pausing after emptying it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
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

// Writes `version` beside `path` and renames it over it. Where the system
// replaces no file that is open (Windows without POSIX renames, Wine), the
// rename fails while a save has the file open, and is tried again, as a
// program would; false if `stop` came first.
bool Replaced(const std::string& side, const std::string& version, const std::string& path,
              const std::atomic<bool>& stop) {
    testing_support::WriteFile(side, version);
    for (;;) {
        std::error_code error;
        std::filesystem::rename(side, path, error);
        if (!error)
            return true;
        if (stop)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

struct Count {
    int versions = 0;
    int lost = 0;
};

// Each outside version is written after a random pause and stays until a
// save that began after it has ended, so every one was in the way of a save.
// VELMORA_STRESS_SECONDS makes each run that long, for a longer look.
Count RunFor(Clock::duration length, const NoteSet& notes, const std::string& body, bool inPlace) {
    if (const char* seconds = std::getenv("VELMORA_STRESS_SECONDS"))
        length = std::chrono::seconds(std::atoi(seconds));
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
            if (inPlace) {  // emptied at once, written after a pause
                std::ofstream out(path, std::ios::binary);
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs(random) / 10));
                out << version;
            } else if (!Replaced(dir.File("outside.new"), version, path, stop)) {
                continue;  // stopped before it could be put in place
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
        EXPECT_TRUE(out.status.ok()) << out.status.reason;
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

TEST(OutsideWriter, NoVersionIsLostWhileSavesRun) {
    NoteSet large;
    for (int p = 0; p < 100000; ++p)
        large[p % kNoteCount].resize(1);
    for (int p = 0; p < 100000; ++p)
        large[p % kNoteCount][0].push_back({p % 480, p % 360});
    const std::string largeText = PrintSplines(large, kClient.right, kClient.bottom);
    const Count big = RunFor(std::chrono::seconds(18), large, largeText, false);
    std::printf("100,000 points: %d of %d outside versions lost\n", big.lost, big.versions);

    const std::string example = ReadFile(VELMORA_TEST_DATA "/../../examples/Splines.xml");
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n)
        notes[n] = {{{n, n}, {100 + n, 200}}};
    const Count small = RunFor(std::chrono::seconds(12), notes, example, false);
    std::printf("%zu-byte example: %d of %d outside versions lost\n", example.size(), small.lost,
                small.versions);
    const Count inPlace = RunFor(std::chrono::seconds(10), notes, example, true);
    std::printf("written in place: %d of %d outside versions lost\n", inPlace.lost,
                inPlace.versions);
    EXPECT_EQ(big.lost + small.lost + inPlace.lost, 0);
    EXPECT_GT(std::min({big.versions, small.versions, inPlace.versions}), 5);
}

}  // namespace
}  // namespace velmora
