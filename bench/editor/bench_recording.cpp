// What keeping the state for recovery adds to a command: a key command
// (Backspace, after a click has added the point it removes) and a drag
// release (after a press and a move), each timed alone, with and without a
// recovery copy, on the example file, on 4 notes of 250 splines of 20
// points, and on the largest file the reader accepts. Counters: the median
// and the worst command, the part of it spent flushing the copy to disk,
// and the copy's size (whole, and as it ended with the records appended).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/edit_memory.h"
#include "bench/support/large_spline_file.h"
#include "bench/support/one_spline_file.h"
#include "editor/velmora_dlg.h"
#include "io/xml/spline_writer.h"
#include "platform/headless_host.h"
#include "platform/message.h"
#include "recovery/session_recovery.h"

namespace {

using namespace velmora;
using Seconds = std::chrono::duration<double>;

// The system's calls, with the time spent flushing files to disk summed up.
class TimedFlush : public FileSystem {
public:
    Status Flush(const FileHandle& file) const override {
        const auto start = std::chrono::steady_clock::now();
        const Status result = FileSystem::Flush(file);
        m_spent += std::chrono::steady_clock::now() - start;
        return result;
    }
    double Spent() const { return m_spent.count(); }

private:
    mutable Seconds m_spent{};
};

enum File : int64_t { kExample, kFourByTwoFiftyByTwenty, kLargest };

// Writes the file in a fresh temporary folder; returns its path.
std::string WriteFile(int64_t file) {
    if (file == kLargest) {
        return bench::WriteOneSplineFile(199000, false);  // about the most the reader takes
    }
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr)
        std::abort();
    const std::string path = dir + "/Splines.xml";
    if (file == kExample) {
        std::filesystem::copy_file(VELMORA_EXAMPLE_FILE, path);
    } else {
        std::ofstream(path) << PrintSplines(bench::LargeNotes(), 480, 360);
    }
    return path;
}

// The editor started on a file, as the program starts it, with or without
// a recovery copy (in a temporary folder of the same disk).
class Session {
public:
    Session(int64_t file, bool recording)
        : m_path(WriteFile(file)),
          m_folder(std::filesystem::path(m_path).parent_path()),
          m_dlg(m_path) {
        if (recording) {
            m_recovery.emplace((m_folder / "state").string(), m_folder.string(), m_fs);
            m_dlg.SetRecovery(&*m_recovery);
        }
        KeepFreedMemoryForRebuilds();
        m_dlg.Attach(m_host);
        m_dlg.OnInitDialog();
    }
    ~Session() {
        m_recovery.reset();
        std::filesystem::remove_all(m_folder);
    }

    void Send(uint32_t message, uint32_t wParam, Point point = {}) {
        m_dlg.Dispatch(Message{message, wParam, point});
    }
    CVelmoraDlg& Dlg() { return m_dlg; }
    double Flushed() const { return m_fs.Spent(); }
    const SessionRecorder* Recorder() const {
        return m_recovery ? m_recovery->Recorder() : nullptr;
    }

private:
    std::string m_path;
    std::filesystem::path m_folder;
    TimedFlush m_fs;
    HeadlessHost m_host;
    CVelmoraDlg m_dlg;
    std::optional<SessionRecovery> m_recovery;
};

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Per iteration: `prepare` untimed, then `command` timed.
void Measure(benchmark::State& state, Session& session, const std::function<void()>& prepare,
             const std::function<void()>& command) {
    std::vector<double> times, flushes;
    for (auto _ : state) {
        prepare();
        const double flushedBefore = session.Flushed();
        const auto start = std::chrono::steady_clock::now();
        command();
        const double spent = Seconds(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(spent);
        times.push_back(spent);
        flushes.push_back(session.Flushed() - flushedBefore);
    }
    state.counters["median_us"] = Median(times) * 1e6;
    state.counters["worst_us"] = *std::max_element(times.begin(), times.end()) * 1e6;
    state.counters["flush_median_us"] = Median(flushes) * 1e6;
    if (const SessionRecorder* recorder = session.Recorder()) {
        state.counters["copy_whole_bytes"] = static_cast<double>(recorder->WholeBytes());
        state.counters["copy_end_bytes"] =
            static_cast<double>(recorder->WholeBytes() + recorder->AppendedBytes());
    }
}

// A spot on the canvas at least 5 pixels from every control point.
Point FreeSpot(const CVelmoraDlg& dlg) {
    for (int32_t y = 355; y > 5; y -= 7) {
        for (int32_t x = 5; x < 475; x += 7) {
            if (dlg.HitTestPoint(Point{x, y}) < 0)
                return Point{x, y};
        }
    }
    return Point{479, 359};
}

void BM_KeyCommand(benchmark::State& state) {
    Session session(state.range(0), state.range(1) != 0);
    const Point spot = FreeSpot(session.Dlg());
    Measure(
        state, session,
        [&] {
            session.Send(WM_LBUTTONDOWN, MK_LBUTTON, spot);
            session.Send(WM_LBUTTONUP, 0, spot);
        },
        [&] { session.Send(WM_KEYDOWN, VK_BACK); });
}

void BM_DragRelease(benchmark::State& state) {
    Session session(state.range(0), state.range(1) != 0);
    const Point grip = session.Dlg().Points().front();
    int32_t step = 0;
    Measure(
        state, session,
        [&] {
            step = step == 0 ? 1 : 0;  // back and forth, so the point stays near
            session.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point{grip.x + 1 - step, grip.y});
            session.Send(WM_MOUSEMOVE, MK_LBUTTON, Point{grip.x + step, grip.y});
        },
        [&] {
            session.Send(WM_LBUTTONUP, 0, Point{grip.x + step, grip.y});
        });
    if (session.Dlg().Points().front().x != grip.x + step)
        state.SkipWithError("the drag did not move the point");
}

void Files(benchmark::internal::Benchmark* b) {
    b->ArgNames({"file", "recording"})->UseManualTime()->Unit(benchmark::kMicrosecond);
    for (int64_t file : {kExample, kFourByTwoFiftyByTwenty})
        for (int64_t recording : {0, 1})
            b->Args({file, recording});
}

// Each move of a drag on the largest file rebuilds a curve of 199,000 points:
// a few releases are enough.
void LargestFile(benchmark::internal::Benchmark* b) {
    b->ArgNames({"file", "recording"})->UseManualTime()->Unit(benchmark::kMicrosecond);
    for (int64_t recording : {0, 1})
        b->Args({kLargest, recording});
}

BENCHMARK(BM_KeyCommand)->Apply(Files)->Iterations(300);
BENCHMARK(BM_DragRelease)->Apply(Files)->Iterations(300);
BENCHMARK(BM_DragRelease)->Apply(LargestFile)->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
