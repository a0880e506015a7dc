// `velmora-tool export --format json` on the large file (4 notes of 250
// splines of 20 points) against loading that file as the editor does. The
// export, load included, should take at most 3 times the load.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "io/spline_file.h"
#include "tools/cli_io.h"
#include "tools/export_formats.h"
#include "tools/loaded_notes.h"

namespace velmora::tool {
namespace {

NoteSet LargeNotes() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        for (int s = 0; s < 250; ++s) {
            Spline spline;
            for (int p = 0; p < 20; ++p) {
                spline.push_back(Point{(n * 37 + s * 11 + p * 23) % 480, (s * 7 + p * 13) % 360});
            }
            notes[static_cast<std::size_t>(n)].push_back(spline);
        }
    }
    return notes;
}

const std::string& LargeFilePath() {
    static const std::string path = [] {
        const std::string p = "/tmp/velmora-bench-tools-" + std::to_string(::getpid()) + ".xml";
        WriteOutput(p, PrintSplines(LargeNotes(), kEditorClient.right, kEditorClient.bottom));
        return p;
    }();
    return path;
}

void BM_LoadFile(benchmark::State& state) {
    SplineFile file(LargeFilePath());
    for (auto _ : state) {
        NoteSet notes;
        const LoadOutcome out = file.Load(notes);
        if (out.status != LoadStatus::kLoaded) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

// Everything the verb does but the final write: read, load, repair, export.
void BM_ExportJson(benchmark::State& state) {
    for (auto _ : state) {
        const Input input = ReadInput(LargeFilePath());
        const LoadedNotes loaded = LoadLikeEditor(input.bytes);
        std::string json = ExportJson(ExportScope{loaded.notes, std::nullopt});
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_ExportJson)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::tool

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(velmora::tool::LargeFilePath().c_str());
    return 0;
}
