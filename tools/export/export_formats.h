#pragma once

#include <optional>

#include "model/note_set.h"
#include "tools/cli/output_stream.h"

namespace velmora::tool {

// The notes to export: all four, or only `note` when it is set; `precise`
// adds each spline's samples before truncation and its path length (JSON).
struct ExportScope {
    const NoteSet& notes;
    std::optional<int> note;
    bool precise = false;
};

// {"format": "velmora-splines", "version": 1, "client": {"width", "height"},
//  "origin": [x, y], "targets": [[x, y] x 4],
//  "notes": [{"index", "splines": [{"points": [[x, y]...], "curve": [...]}]}]}
// in note and spline order; "curve" holds the exact samples the editor
// draws, and is empty for a spline of fewer than two points. With `precise`
// each spline also has "precise" (the samples as doubles, each printed so
// that it reads back to the same double) and "length".
void ExportJson(const ExportScope& scope, OutputStream& out);

// A header row "note,spline,kind,index,x,y", then one row per control point
// (kind "point") and per curve sample (kind "sample"). Counted as the
// editor's caption counts: notes from 0, splines and indexes from 1.
void ExportCsv(const ExportScope& scope, OutputStream& out);

// One SVG document in client pixels: a picture per note, stacked from top
// to bottom in note order, each a group "note-N" with every spline's curve
// as a black polyline and its control points as crosses in the editor's
// colours (the first light blue, the others red).
void ExportSvg(const ExportScope& scope, OutputStream& out);

}  // namespace velmora::tool
