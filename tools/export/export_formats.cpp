#include "tools/export/export_formats.h"

#include <functional>
#include <string>
#include <vector>

#include "curve/path_length.h"
#include "curve/rebuild_curve.h"
#include "model/note_set.h"
#include "render/colours.h"
#include "tools/cli/json_writer.h"

namespace velmora::tool {

namespace {

// The samples the editor draws for `spline`: none for fewer than two points.
std::vector<Point> CurveOf(const Spline& spline) {
    std::vector<Point> curve;
    RebuildCurve(spline, curve);
    return curve;
}

// Calls `visit` for each exported note with its number.
void ForEachNote(const ExportScope& scope,
                 const std::function<void(int, const SplineList&)>& visit) {
    for (int n = 0; n < kNoteCount; ++n) {
        if (!scope.note || *scope.note == n)
            visit(n, scope.notes[static_cast<std::size_t>(n)]);
    }
}

using JsonWriter = rapidjson::Writer<OutputStream>;

void WritePair(JsonWriter& writer, Point p) {
    writer.StartArray();
    writer.Int(p.x);
    writer.Int(p.y);
    writer.EndArray();
}

void WritePairs(JsonWriter& writer, const std::vector<Point>& points) {
    writer.StartArray();
    for (const Point& p : points)
        WritePair(writer, p);
    writer.EndArray();
}

// RapidJSON prints the shortest digits that read back to the same double.
void WritePrecise(JsonWriter& writer, const Spline& spline) {
    std::vector<PrecisePoint> samples;
    RebuildCurvePrecise(spline, samples);
    writer.Key("precise");
    writer.StartArray();
    for (const PrecisePoint& p : samples) {
        writer.StartArray();
        writer.Double(p.x);
        writer.Double(p.y);
        writer.EndArray();
    }
    writer.EndArray();
    writer.Key("length");
    writer.Double(PathLength(samples));
}

}  // namespace

// Written as a stream of values: a document tree would cost one allocation
// per sample, several times the load of the file itself.
void ExportJson(const ExportScope& scope, OutputStream& out) {
    JsonWriter writer(out);
    writer.StartObject();
    writer.Key("format");
    writer.String("velmora-splines");
    writer.Key("version");
    writer.Int(1);
    writer.Key("client");
    writer.StartObject();
    writer.Key("width");
    writer.Int(kEditorClient.right);
    writer.Key("height");
    writer.Int(kEditorClient.bottom);
    writer.EndObject();
    const ClientTargets stars = MapTargets(kEditorClient, kDesignTargets);
    writer.Key("origin");
    WritePair(writer, stars.origin);
    writer.Key("targets");
    writer.StartArray();
    for (const Point& target : stars.targets)
        WritePair(writer, target);
    writer.EndArray();
    writer.Key("notes");
    writer.StartArray();
    ForEachNote(scope, [&writer, &scope](int n, const SplineList& splines) {
        writer.StartObject();
        writer.Key("index");
        writer.Int(n);
        writer.Key("splines");
        writer.StartArray();
        for (const Spline& spline : splines) {
            writer.StartObject();
            writer.Key("points");
            WritePairs(writer, spline);
            writer.Key("curve");
            WritePairs(writer, CurveOf(spline));
            if (scope.precise)
                WritePrecise(writer, spline);
            writer.EndObject();
        }
        writer.EndArray();
        writer.EndObject();
    });
    writer.EndArray();
    writer.EndObject();
    out.Put('\n');
}

void ExportCsv(const ExportScope& scope, OutputStream& out) {
    out.Write("note,spline,kind,index,x,y\n");
    ForEachNote(scope, [&out](int n, const SplineList& splines) {
        for (std::size_t s = 0; s < splines.size(); ++s) {
            const auto rows = [&](const char* kind, const std::vector<Point>& points) {
                for (std::size_t i = 0; i < points.size(); ++i) {
                    out.WriteInt(n);
                    out.Put(',');
                    out.WriteInt(static_cast<long long>(s + 1));
                    out.Put(',');
                    out.Write(kind);
                    out.Put(',');
                    out.WriteInt(static_cast<long long>(i + 1));
                    out.Put(',');
                    out.WriteInt(points[i].x);
                    out.Put(',');
                    out.WriteInt(points[i].y);
                    out.Put('\n');
                }
            };
            rows("point", splines[s]);
            rows("sample", CurveOf(splines[s]));
        }
    });
}

namespace {

// `colour` (0x00BBGGRR) as SVG writes it, "#rrggbb".
std::string SvgColour(Colour colour) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const int shift : {0, 8, 16}) {
        const unsigned byte = (colour >> shift) & 0xFF;
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

// The editor's cross `style` around `p`, as one path. The ends are computed
// in 64 bits: a point at the edge of the coordinate range has arms beyond it.
void WriteCross(OutputStream& out, Point p, const MarkerStyle& style) {
    const int arm = style.size;
    out.Write("<path d=\"M");
    out.WriteInt(int64_t{p.x} - arm);
    out.Put(' ');
    out.WriteInt(p.y);
    out.Put('H');
    out.WriteInt(int64_t{p.x} + arm);
    out.Put('M');
    out.WriteInt(p.x);
    out.Put(' ');
    out.WriteInt(int64_t{p.y} - arm);
    out.Put('V');
    out.WriteInt(int64_t{p.y} + arm);
    out.Write("\" stroke=\"");
    out.Write(SvgColour(style.colour));
    out.Write("\"/>\n");
}

void WriteSvgNote(OutputStream& out, int n, int slot, const SplineList& splines) {
    out.Write("<g id=\"note-");
    out.WriteInt(n);
    out.Write("\" transform=\"translate(0 ");
    out.WriteInt(static_cast<long long>(slot) * kEditorClient.bottom);
    out.Write(")\">\n<rect width=\"");
    out.WriteInt(kEditorClient.right);
    out.Write("\" height=\"");
    out.WriteInt(kEditorClient.bottom);
    out.Write("\" fill=\"");
    out.Write(SvgColour(kBackgroundColour));
    out.Write("\"/>\n");
    for (const Spline& spline : splines) {
        const std::vector<Point> curve = CurveOf(spline);
        if (!curve.empty()) {
            // The canvas draws curves with its default pen, black.
            out.Write("<polyline fill=\"none\" stroke=\"#000000\" points=\"");
            for (std::size_t i = 0; i < curve.size(); ++i) {
                if (i > 0)
                    out.Put(' ');
                out.WriteInt(curve[i].x);
                out.Put(',');
                out.WriteInt(curve[i].y);
            }
            out.Write("\"/>\n");
        }
        for (std::size_t i = 0; i < spline.size(); ++i)
            WriteCross(out, spline[i], i == 0 ? kFirstCross : kCross);
    }
    out.Write("</g>\n");
}

}  // namespace

// The document's height is known before the pictures: one client height per
// exported note.
void ExportSvg(const ExportScope& scope, OutputStream& out) {
    const long long height =
        static_cast<long long>(scope.note ? 1 : kNoteCount) * kEditorClient.bottom;
    out.Write(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"");
    out.WriteInt(kEditorClient.right);
    out.Write("\" height=\"");
    out.WriteInt(height);
    out.Write("\" viewBox=\"0 0 ");
    out.WriteInt(kEditorClient.right);
    out.Put(' ');
    out.WriteInt(height);
    out.Write("\" shape-rendering=\"crispEdges\">\n");
    int slot = 0;
    ForEachNote(scope,
                [&](int n, const SplineList& splines) { WriteSvgNote(out, n, slot++, splines); });
    out.Write("</svg>\n");
}

}  // namespace velmora::tool
