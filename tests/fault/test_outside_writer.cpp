// A real outside writer atomically replaces the spline file with versions of
// its own while the editor saves every 0.15 s: no version is lost.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "io/spline_file.h"
#include "io/spline_writer.h"
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

// Each outside version is written after a random pause and stays until a
// save that began after it has ended, so every one was in the way of a save.
Count RunFor(Clock::duration length, const NoteSet& notes, const std::string& body) {
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
            const std::string side = dir.File("outside.new");
            testing_support::WriteFile(side, Marker(written) + "\n" + body);
            std::rename(side.c_str(), path.c_str());
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

TEST(OutsideWriter, NoVersionIsLostWhileSavesRun) {
    NoteSet large;
    for (int p = 0; p < 100000; ++p)
        large[p % kNoteCount].resize(1);
    for (int p = 0; p < 100000; ++p)
        large[p % kNoteCount][0].push_back({p % 480, p % 360});
    const std::string largeText = PrintSplines(large, kClient.right, kClient.bottom);
    const Count big = RunFor(std::chrono::seconds(18), large, largeText);
    std::printf("100,000 points: %d of %d outside versions lost\n", big.lost, big.versions);

    const std::string example = ReadFile(VELMORA_TEST_DATA "/../../examples/Splines.xml");
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n)
        notes[n] = {{{n, n}, {100 + n, 200}}};
    const Count small = RunFor(std::chrono::seconds(12), notes, example);
    std::printf("%zu-byte example: %d of %d outside versions lost\n", example.size(), small.lost,
                small.versions);
    EXPECT_EQ(big.lost + small.lost, 0);
    EXPECT_GT(big.versions, 5);
    EXPECT_GT(small.versions, 5);
}

}  // namespace
}  // namespace velmora
