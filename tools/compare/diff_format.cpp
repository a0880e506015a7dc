#include "tools/compare/diff_format.h"

namespace velmora::tool {

namespace {

enum class PointKind { kMoved, kAdded, kRemoved, kReplaced };

PointKind KindOf(const PointChange& c) {
    if (c.oldCount == 0)
        return PointKind::kAdded;
    if (c.newCount == 0)
        return PointKind::kRemoved;
    return c.oldCount == 1 && c.newCount == 1 ? PointKind::kMoved : PointKind::kReplaced;
}

std::string Number(std::size_t index) { return std::to_string(index + 1); }

std::string PointText(Point p) {
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

std::string Count(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " point" : " points");
}

// "point 5" or "points 5-7", OLD's numbers.
std::string OldRange(const PointChange& c) {
    if (c.oldCount == 1)
        return "point " + Number(c.oldFirst);
    return "points " + Number(c.oldFirst) + "-" + Number(c.oldFirst + c.oldCount - 1);
}

std::string PointLine(const PointChange& c, const Spline& a, const Spline& b) {
    switch (KindOf(c)) {
    case PointKind::kMoved:
        return OldRange(c) + " moved from " + PointText(a[c.oldFirst]) + " to " +
               PointText(b[c.newFirst]);
    case PointKind::kAdded:
        if (a.empty())
            return Count(c.newCount) + " added";
        if (c.oldFirst == 0)
            return Count(c.newCount) + " added before point 1";
        return Count(c.newCount) + " added after point " + std::to_string(c.oldFirst);
    case PointKind::kRemoved: return OldRange(c) + " removed";
    case PointKind::kReplaced: break;
    }
    return OldRange(c) + " replaced by " + Count(c.newCount);
}

const Spline& At(const NoteSet& notes, int note, std::size_t index) {
    return notes[static_cast<std::size_t>(note)][index];
}

void WritePoint(JsonWriter& w, Point p) {
    w.StartArray();
    w.Int(p.x);
    w.Int(p.y);
    w.EndArray();
}

void WritePoints(JsonWriter& w, const char* key, const Spline& s, std::size_t first,
                 std::size_t count) {
    w.Key(key);
    w.StartArray();
    for (std::size_t i = first; i < first + count; ++i)
        WritePoint(w, s[i]);
    w.EndArray();
}

void WriteIndex(JsonWriter& w, const char* key, std::size_t index) {
    w.Key(key);
    w.Uint64(index + 1);
}

void WritePointChange(JsonWriter& w, const SplineChange& s, const PointChange& c, const Spline& a,
                      const Spline& b) {
    static const char* const kNames[] = {"point-moved", "points-added", "points-removed",
                                         "points-replaced"};
    const PointKind kind = KindOf(c);
    w.Key("change");
    w.String(kNames[static_cast<int>(kind)]);
    w.Key("note");
    w.Int(s.note);
    WriteIndex(w, "spline", s.newIndex);
    WriteIndex(w, "old_spline", s.oldIndex);
    switch (kind) {
    case PointKind::kMoved:
        WriteIndex(w, "point", c.oldFirst);
        w.Key("from");
        WritePoint(w, a[c.oldFirst]);
        w.Key("to");
        WritePoint(w, b[c.newFirst]);
        return;
    case PointKind::kAdded:
        w.Key("after");  // 0: before the first point
        w.Uint64(c.oldFirst);
        WritePoints(w, "points", b, c.newFirst, c.newCount);
        return;
    case PointKind::kRemoved:
    case PointKind::kReplaced:
        WriteIndex(w, "first", c.oldFirst);
        WriteIndex(w, "last", c.oldFirst + c.oldCount - 1);
        if (kind == PointKind::kRemoved) {
            WritePoints(w, "points", a, c.oldFirst, c.oldCount);
        } else {
            WritePoints(w, "from", a, c.oldFirst, c.oldCount);
            WritePoints(w, "to", b, c.newFirst, c.newCount);
        }
        return;
    }
}

void WriteSplineChange(JsonWriter& w, const SplineChange& s, const Spline& spline) {
    w.Key("change");
    w.String(s.kind == SplineChange::kAdded ? "spline-added" : "spline-removed");
    w.Key("note");
    w.Int(s.note);
    WriteIndex(w, "spline", s.kind == SplineChange::kAdded ? s.newIndex : s.oldIndex);
    WritePoints(w, "points", spline, 0, spline.size());
}

}  // namespace

DiffPrinter::DiffPrinter(OutputStream& out, bool json, const NoteSet& oldNotes,
                         const NoteSet& newNotes)
    : m_out(out),
      m_json(json),
      m_old(oldNotes),
      m_new(newNotes),
      m_stream{&out},
      m_writer(m_stream) {
    if (m_json)
        m_out.Put('[');
}

void DiffPrinter::Print(const SplineChange& s) {
    if (m_json) {
        if (s.kind == SplineChange::kAdded) {
            Object([&](JsonWriter& w) { WriteSplineChange(w, s, At(m_new, s.note, s.newIndex)); });
        } else if (s.kind == SplineChange::kRemoved) {
            Object([&](JsonWriter& w) { WriteSplineChange(w, s, At(m_old, s.note, s.oldIndex)); });
        } else {
            const Spline& a = At(m_old, s.note, s.oldIndex);
            const Spline& b = At(m_new, s.note, s.newIndex);
            for (const PointChange& c : s.points)
                Object([&](JsonWriter& w) { WritePointChange(w, s, c, a, b); });
        }
        return;
    }
    const std::string note = "note " + std::to_string(s.note);
    if (s.kind == SplineChange::kAdded) {
        m_out.Write(note + ": spline " + Number(s.newIndex) + " added (" +
                    Count(At(m_new, s.note, s.newIndex).size()) + ")\n");
    } else if (s.kind == SplineChange::kRemoved) {
        m_out.Write(note + ": spline " + Number(s.oldIndex) + " removed (" +
                    Count(At(m_old, s.note, s.oldIndex).size()) + ")\n");
    } else {
        const Spline& a = At(m_old, s.note, s.oldIndex);
        const Spline& b = At(m_new, s.note, s.newIndex);
        for (const PointChange& c : s.points)
            m_out.Write(note + " spline " + Number(s.newIndex) + ": " + PointLine(c, a, b) + "\n");
    }
}

void DiffPrinter::Finish() {
    if (m_json)
        m_out.Write("\n]\n");
}

// Each object is a JSON text of its own to the writer, on a line of its own.
void DiffPrinter::Object(const std::function<void(JsonWriter&)>& write) {
    m_out.Write(m_first ? "\n" : ",\n");
    m_first = false;
    m_writer.Reset(m_stream);
    m_writer.StartObject();
    write(m_writer);
    m_writer.EndObject();
}

}  // namespace velmora::tool
