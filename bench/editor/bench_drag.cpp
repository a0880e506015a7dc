// One edit as the user makes it: the message in, the point moved or added,
// the curve rebuilt and the canvas redrawn. Splines of 20 and 2,000 random
// canvas points, and of as many points as the largest files hold,
// on the canvas or far apart (every chord thousands of units long).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/edit_memory.h"
#include "bench/support/one_spline_file.h"
#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "platform/message.h"

namespace {

using namespace velmora;

// A dialog started, as the program starts it, on a file of one spline of
// `count` points (see WriteOneSplineFile).
class LoadedEditor {
public:
    LoadedEditor(int count, bool farApart)
        : m_path(bench::WriteOneSplineFile(count, farApart)), m_dlg(m_path) {
        KeepFreedMemoryForRebuilds();
        m_dlg.Attach(m_host);
        m_dlg.OnInitDialog();
    }
    ~LoadedEditor() { std::filesystem::remove_all(std::filesystem::path(m_path).parent_path()); }

    CVelmoraDlg& Dlg() { return m_dlg; }
    HeadlessHost& Host() { return m_host; }

private:
    std::string m_path;
    HeadlessHost m_host;
    CVelmoraDlg m_dlg;
};

void Report(benchmark::State& state, LoadedEditor& editor) {
    benchmark::DoNotOptimize(editor.Host().ClientCanvas().Pixels().data());
    state.counters["points"] = static_cast<double>(editor.Dlg().Points().size());
    state.counters["curve_samples"] = static_cast<double>(editor.Dlg().Curve().size());
}

void BM_DragMove(benchmark::State& state) {
    LoadedEditor editor(static_cast<int>(state.range(0)), state.range(1) != 0);
    CVelmoraDlg& dlg = editor.Dlg();
    dlg.Dispatch(Message{WM_LBUTTONDOWN, MK_LBUTTON, {5, 5}});
    if (dlg.DragIndex() != 0)
        state.SkipWithError("the drag did not start (file refused?)");

    int32_t step = 0;
    for (auto _ : state) {
        step = (step + 1) & 7;
        dlg.Dispatch(Message{WM_MOUSEMOVE, MK_LBUTTON, {5 + step, 5 + step}});
    }
    Report(state, editor);
}

// A click on empty canvas: the bottom row stays clear of the canvas points,
// and every click lands 6 pixels right of the last so none hits the one before.
void BM_AddPoint(benchmark::State& state) {
    LoadedEditor editor(static_cast<int>(state.range(0)), state.range(1) != 0);
    CVelmoraDlg& dlg = editor.Dlg();
    const size_t before = dlg.Points().size();
    int32_t click = 0;
    for (auto _ : state) {
        const Point where{2 + 6 * (click++ % 75), 356};
        dlg.Dispatch(Message{WM_LBUTTONDOWN, MK_LBUTTON, where});
        dlg.Dispatch(Message{WM_LBUTTONUP, 0, where});
    }
    if (dlg.Points().size() != before + static_cast<size_t>(click) || click > 75)
        state.SkipWithError("a click did not add a point");
    Report(state, editor);
}

// The drawing part of an edit alone: the whole scene on the client canvas.
void BM_Redraw(benchmark::State& state) {
    LoadedEditor editor(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        Canvas& dc = editor.Host().GetDC();
        editor.Dlg().DrawScene(dc);
        editor.Host().ReleaseDC(dc);
    }
    Report(state, editor);
}

// Loading a large file takes seconds: the large cases run a fixed number of
// edits, so that the file is loaded once. 199,000 points is about the most
// the reader's limit of 600,000 XML nodes lets through (three a point).
void LargeCases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"points", "far"})->Unit(benchmark::kMillisecond)->Iterations(30);
    for (int64_t count : {199000})
        for (int64_t farApart : {0, 1})
            b->Args({count, farApart});
}

BENCHMARK(BM_DragMove)
    ->ArgNames({"points", "far"})
    ->Args({20, 0})
    ->Args({2000, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragMove)->Apply(LargeCases);
BENCHMARK(BM_AddPoint)
    ->ArgNames({"points", "far"})
    ->Args({2000, 0})
    ->Iterations(75)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddPoint)->Apply(LargeCases);
BENCHMARK(BM_Redraw)->Apply(LargeCases);

}  // namespace

BENCHMARK_MAIN();
