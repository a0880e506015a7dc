#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
#include "model/note_set.h"

namespace velmora::bench {

// The large note set of the file benchmarks: 4 notes of 250 splines of 20
// points, spread over a 480 x 360 client.
inline NoteSet LargeNotes() {
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

// Those notes as the editor saves them, written once to the temporary folder.
inline const std::string& LargeFilePath() {
    static const std::string path = [] {
        const std::string p = "/tmp/velmora-bench-" + std::to_string(::getpid()) + ".xml";
        const std::string text = PrintSplines(LargeNotes(), 480, 360);
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        return p;
    }();
    return path;
}

// Loading that file as the editor does at start-up: the yardstick of the
// other file benchmarks.
inline void LoadLargeFile(benchmark::State& state) {
    SplineFile file(LargeFilePath());
    for (auto _ : state) {
        NoteSet notes;
        const LoadOutcome out = file.Load(notes);
        if (out.found != LoadStatus::kLoaded) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(notes);
    }
}

}  // namespace velmora::bench
