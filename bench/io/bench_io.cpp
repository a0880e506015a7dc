// The spline file against bare TinyXML on a large note set: 4 notes of 250
// splines of 20 points. Our load (the read, the scan that bounds the parse,
// the parse and the walk into notes) should take at most 1.5 times the wall
// time of TiXmlDocument::LoadFile on the same file, comparing medians of one
// run (the machine's load moves both alike). Our save text should cost at
// most 1.3 times building the same document with plain TinyXML (each element
// built whole, then copied in with InsertEndChild) and printing it. The print
// of a document built beforehand is measured too.
//
// Last, the loads of the worst files under 16 MiB, refused and accepted:
// each must take well under the 2 s the window may take to appear (peak
// memory is checked by the bad-input corpus test).

#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>
#include <tinyxml.h>
#include <unistd.h>

#include "bench/support/large_spline_file.h"
#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
#include "tests/support/spline_document.h"

namespace velmora {
namespace {

using bench::LargeFilePath;
using bench::LargeNotes;

constexpr Rect kClient{0, 0, 480, 360};

BENCHMARK(bench::LoadLargeFile)->Unit(benchmark::kMillisecond);

void BM_LoadBareTinyXml(benchmark::State& state) {
    const std::string& path = LargeFilePath();
    for (auto _ : state) {
        TiXmlDocument doc(path.c_str());
        if (!doc.LoadFile()) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(doc.FirstChild());
    }
}
BENCHMARK(BM_LoadBareTinyXml)->Unit(benchmark::kMillisecond);

void BM_PrintOurs(benchmark::State& state) {
    const NoteSet notes = LargeNotes();
    for (auto _ : state) {
        std::string text = PrintSplines(notes, kClient.right, kClient.bottom);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_PrintOurs)->Unit(benchmark::kMillisecond);

void BM_PrintBareTinyXml(benchmark::State& state) {
    TiXmlDocument doc;
    testing_support::BuildSplineDocument(doc, LargeNotes(), kClient.right, kClient.bottom);
    for (auto _ : state) {
        TiXmlPrinter printer;
        doc.Accept(&printer);
        benchmark::DoNotOptimize(printer.Str());
    }
}
BENCHMARK(BM_PrintBareTinyXml)->Unit(benchmark::kMillisecond);

// The document built the plain way: every element made whole, then appended
// as a deep copy; then printed.
void BM_BuildAndPrintBareTinyXml(benchmark::State& state) {
    const NoteSet notes = LargeNotes();
    for (auto _ : state) {
        TiXmlDocument doc;
        doc.Parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n");
        TiXmlElement rect("RectSize");
        rect.SetAttribute("Width", kClient.right);
        rect.SetAttribute("Height", kClient.bottom);
        doc.InsertEndChild(rect);
        for (int n = 0; n < kNoteCount; ++n) {
            TiXmlElement item("NewNoteSpline");
            item.SetAttribute("Index", n);
            for (const Spline& spline : notes[static_cast<std::size_t>(n)]) {
                TiXmlElement SplineItem("NewSpline");
                for (const Point& ThePoint : spline) {
                    TiXmlElement ControlPointItem("ControlPoint");
                    ControlPointItem.SetAttribute("PosX", ThePoint.x);
                    ControlPointItem.SetAttribute("PosY", ThePoint.y);
                    SplineItem.InsertEndChild(ControlPointItem);
                }
                item.InsertEndChild(SplineItem);
            }
            doc.InsertEndChild(item);
        }
        TiXmlPrinter printer;
        doc.Accept(&printer);
        benchmark::DoNotOptimize(printer.Str());
    }
}
BENCHMARK(BM_BuildAndPrintBareTinyXml)->Unit(benchmark::kMillisecond);

// Writes `count` copies of `unit` between `head` and `tail` to a temporary file.
std::string WriteRepeated(const std::string& name, const std::string& head, const char* unit,
                          int count, const std::string& tail) {
    const std::string path = "/tmp/velmora-bench-io-" + std::to_string(::getpid()) + "-" + name;
    std::string text = head;
    for (int i = 0; i < count; ++i)
        text += unit;
    text += tail;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

struct WorstFile {
    const char* name;
    const char* head;
    const char* unit;
    int count;
    const char* tail;
};

const WorstFile kWorstFiles[] = {
    {"reference_swallows_quote", "<r v=\"&#x\"x41;\">", "<a>", 40000, ""},
    {"compact_points_690000", "<NewNoteSpline Index=\"0\"><NewSpline><ControlPoint PosX=0 PosY=0/>",
     "<a PosX=0002 PosY=0002/>", 690000, "</NewSpline></NewNoteSpline>"},
    {"empty_elements_4100000", "<NewNoteSpline Index=\"1\">", "<a/>", 4100000, "</NewNoteSpline>"},
    {"compact_points_199000", "<NewNoteSpline Index=\"0\"><NewSpline><ControlPoint PosX=0 PosY=0/>",
     "<a PosX=0002 PosY=0002/>", 199000, "</NewSpline></NewNoteSpline>"},
    {"empty_splines_599000", "<NewNoteSpline Index=\"1\">", "<NewSpline/>", 599000,
     "</NewNoteSpline>"},
};

void BM_LoadWorstFile(benchmark::State& state) {
    const WorstFile& worst = kWorstFiles[state.range(0)];
    state.SetLabel(worst.name);
    const std::string path =
        WriteRepeated(worst.name, worst.head, worst.unit, worst.count, worst.tail);
    SplineFile file(path);
    for (auto _ : state) {
        NoteSet notes;
        benchmark::DoNotOptimize(file.Load(notes));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadWorstFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(velmora::LargeFilePath().c_str());
    return 0;
}
