// `velmora-tool export --format json` on the large file (4 notes of 250
// splines of 20 points) against loading that file as the editor does. The
// export, load included, should take at most 3 times the load.

#include <benchmark/benchmark.h>
#include <cstdlib>

#include <cstdio>
#include <string>

#include "bench/support/large_spline_file.h"
#include "io/loaded_notes.h"
#include "io/spline_file.h"
#include "tools/cli/cli_io.h"
#include "tools/export/export_formats.h"

namespace velmora::tool {
namespace {

using bench::LargeFilePath;

BENCHMARK(bench::LoadLargeFile)->Unit(benchmark::kMillisecond);

// Everything the verb does, the output streamed to /dev/null: read, load,
// repair, export.
void BM_ExportJson(benchmark::State& state) {
    FileHandle null;
    if (!SystemFileSystem().OpenForWriting("/dev/null", &null).ok())
        std::abort();
    for (auto _ : state) {
        const Input input = ReadInput(LargeFilePath());
        const LoadedNotes loaded = LoadLikeEditor(input.bytes, kEditorClient);
        OutputStream out(SystemFileSystem(), null);
        ExportJson(ExportScope{loaded.notes, std::nullopt}, out);
        out.Flush();
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
