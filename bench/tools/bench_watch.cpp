// How long a save takes to reach a game through `velmora-tool watch`: from
// the rename of the editor's save (SplineFile::Save, what its S key calls)
// over FILE to the rename of the new export over OUT, both seen in the folder
// by inotify. Each repetition is one save; median and max over 60 saves,
// of a small file, of the large one (20,000 points) and of the largest the
// editor saves (199,982 points). Target for the first two: median within
// 100 ms, the worst within 250 ms.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/large_spline_file.h"
#include "io/spline_file.h"

extern char** environ;

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;

// The time each name of a folder was last renamed into it, noted by a thread
// of its own as the event arrives.
class RenameClock {
public:
    explicit RenameClock(const std::string& folder) : m_fd(inotify_init1(IN_CLOEXEC)) {
        inotify_add_watch(m_fd, folder.c_str(), IN_MOVED_TO);
        m_thread = std::thread([this] { Run(); });
    }
    ~RenameClock() {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    void Forget() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.clear();
    }
    // The time `name` was renamed into the folder; waits up to 5 s for it.
    std::optional<Clock::time_point> When(const std::string& name) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_seen.count(name) > 0; });
        const auto found = m_seen.find(name);
        if (found == m_seen.end())
            return std::nullopt;
        return found->second;
    }

private:
    void Run() {
        alignas(inotify_event) char buffer[4096];
        while (!m_stop) {
            pollfd ready{m_fd, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0)
                continue;
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                return;
            const Clock::time_point now = Clock::now();
            std::lock_guard<std::mutex> lock(m_mutex);
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0)
                    m_seen[event->name] = now;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            m_changed.notify_all();
        }
    }

    int m_fd;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Clock::time_point> m_seen;
};

// A folder with Splines.xml and a running `velmora-tool watch` on it.
class WatchedFolder {
public:
    explicit WatchedFolder(NoteSet notes) : m_notes(std::move(notes)), m_file(MakeFolder()) {
        m_file.Save(m_notes, 480, 360);
        m_clock = std::make_unique<RenameClock>(m_folder);
        const char* argv[] = {VELMORA_TOOL, "watch", "Splines.xml", "-o", "out.json", nullptr};
        const std::string quiet = m_folder + "/watch.log";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, quiet.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addchdir_np(&actions, m_folder.c_str());
        posix_spawn(&m_tool, VELMORA_TOOL, &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        m_clock->When("out.json");
    }
    ~WatchedFolder() {
        ::kill(m_tool, SIGTERM);
        ::waitpid(m_tool, nullptr, 0);
        m_clock.reset();
        std::filesystem::remove_all(m_folder);
    }

    // Saves the notes with one point moved; the seconds from that save's
    // rename to the export's, or a negative number when none came.
    double Save() {
        m_notes[0][0][0].x = (m_notes[0][0][0].x + 1) % 480;
        m_clock->Forget();
        m_file.Save(m_notes, 480, 360);
        const auto saved = m_clock->When("Splines.xml");
        const auto exported = m_clock->When("out.json");
        if (!saved || !exported)
            return -1;
        return std::chrono::duration<double>(*exported - *saved).count();
    }

private:
    std::string MakeFolder() {
        char pattern[] = "/tmp/velmora-bench-watch-XXXXXX";
        m_folder = ::mkdtemp(pattern);
        return m_folder + "/Splines.xml";
    }

    std::string m_folder;  // made first, by MakeFolder
    NoteSet m_notes;
    SplineFile m_file;  // the editor's file, as its S key saves it
    std::unique_ptr<RenameClock> m_clock;
    pid_t m_tool = 0;
};

NoteSet SmallNotes() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n)
        notes[static_cast<std::size_t>(n)] = {{{20, 30}, {120, 200}, {300, 90}, {460, 340}}};
    return notes;
}

// The largest file the editor saves: one spline a note, 199,982 points in
// all, just within the reader's 600,000 nodes.
NoteSet LargestNotes() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n)
        notes[static_cast<std::size_t>(n)].resize(1);
    for (int p = 0; p < 199982; ++p)
        notes[static_cast<std::size_t>(p % kNoteCount)][0].push_back({p % 480, (p / 480) % 360});
    return notes;
}

void SaveToExport(benchmark::State& state, WatchedFolder& folder) {
    for (auto _ : state) {
        const double seconds = folder.Save();
        if (seconds < 0) {
            state.SkipWithError("no export came within 5 s");
            return;
        }
        state.SetIterationTime(seconds);
        // A designer's saves are apart; let the tool settle.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

void BM_WatchSmallFile(benchmark::State& state) {
    static WatchedFolder folder(SmallNotes());
    SaveToExport(state, folder);
}

void BM_WatchLargeFile(benchmark::State& state) {
    static WatchedFolder folder(bench::LargeNotes());
    SaveToExport(state, folder);
}

void BM_WatchLargestFile(benchmark::State& state) {
    static WatchedFolder folder(LargestNotes());
    SaveToExport(state, folder);
}

double Max(const std::vector<double>& times) {
    return *std::max_element(times.begin(), times.end());
}

// One save a repetition; the aggregates give the median and the worst.
void OneSaveARepetition(benchmark::internal::Benchmark* b) {
    b->UseManualTime()
        ->Iterations(1)
        ->Repetitions(60)
        ->ComputeStatistics("max", Max)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_WatchSmallFile)->Apply(OneSaveARepetition);
BENCHMARK(BM_WatchLargeFile)->Apply(OneSaveARepetition);
BENCHMARK(BM_WatchLargestFile)->Apply(OneSaveARepetition);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
