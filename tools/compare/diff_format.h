#pragma once

#include <functional>

#include "model/note_set.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/output_stream.h"
#include "tools/compare/note_diff.h"

namespace velmora::tool {

// The output as the JSON writer sees it. The writer flushes its stream at
// the end of each JSON text, here each one of many objects; the output is
// flushed when full and at its end instead.
struct JsonLineStream {
    using Ch = char;
    OutputStream* out;
    void Put(char c) { out->Put(c); }
    void Flush() {}
};
using JsonWriter = rapidjson::Writer<JsonLineStream>;

// Prints changes as they are found, to `out`: as text, one line each,
// numbered as the caption counts (notes from 0, splines and points from 1):
// an added spline by its number in NEW, a removed one by its number in OLD,
// a changed one by its number in NEW with the numbers of OLD's points:
//   note 2: spline 4 added (5 points)
//   note 0: spline 1 removed (2 points)
//   note 1 spline 3: point 2 moved from (120,80) to (124,82)
//   note 1 spline 3: 2 points added after point 4      (or "before point 1")
//   note 3 spline 1: points 5-6 removed
//   note 3 spline 1: point 5 replaced by 2 points
// or, with `json`, as a JSON array, one object per line of the text, one per
// line of output.
class DiffPrinter {
public:
    DiffPrinter(OutputStream& out, bool json, const NoteSet& oldNotes, const NoteSet& newNotes);
    DiffPrinter(const DiffPrinter&) = delete;
    DiffPrinter& operator=(const DiffPrinter&) = delete;

    void Print(const SplineChange& change);
    // Ends the output (the JSON array's bracket); nothing is printed after.
    void Finish();

private:
    void Object(const std::function<void(JsonWriter&)>& write);

    OutputStream& m_out;
    bool m_json;
    const NoteSet& m_old;
    const NoteSet& m_new;
    bool m_first = true;
    JsonLineStream m_stream;
    JsonWriter m_writer;  // writes to m_stream
};

}  // namespace velmora::tool
