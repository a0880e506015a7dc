// One drag move: the message in, the point moved, the curve rebuilt and the
// canvas redrawn, for splines of 20 and 2,000 random control points.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "platform/message.h"

namespace {

using namespace velmora;

// Writes a spline file whose note 0 holds one spline of `count` random points.
std::string WriteSplineFile(int count) {
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr) std::abort();
    const std::string path = dir + "/Splines.xml";
    std::mt19937 random(42);
    std::uniform_int_distribution<int32_t> x(20, 459), y(20, 339);
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"0\"><NewSpline>";
    // The first point sits apart so that the drag picks it up for certain.
    out << "<ControlPoint PosX=\"5\" PosY=\"5\" />";
    for (int i = 1; i < count; ++i)
        out << "<ControlPoint PosX=\"" << x(random) << "\" PosY=\"" << y(random) << "\" />";
    out << "</NewSpline></NewNoteSpline>\n";
    return path;
}

void BM_DragMove(benchmark::State& state) {
    const std::string path = WriteSplineFile(static_cast<int>(state.range(0)));
    HeadlessHost host;
    CVelmoraDlg dlg(path);
    dlg.Attach(host);
    dlg.OnInitDialog();
    dlg.Dispatch(Message{WM_LBUTTONDOWN, MK_LBUTTON, {5, 5}});
    if (dlg.DragIndex() != 0) state.SkipWithError("the drag did not start");

    int32_t step = 0;
    for (auto _ : state) {
        step = (step + 1) & 7;
        dlg.Dispatch(Message{WM_MOUSEMOVE, MK_LBUTTON, {5 + step, 5 + step}});
    }
    benchmark::DoNotOptimize(host.ClientCanvas().Pixels().data());
    state.counters["curve_samples"] = static_cast<double>(dlg.Curve().size());
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

BENCHMARK(BM_DragMove)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
