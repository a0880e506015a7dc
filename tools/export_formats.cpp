#include "tools/export_formats.h"

#include <functional>
#include <vector>

#include "curve/rebuild_curve.h"
#include "tools/json_writer.h"
#include "tools/loaded_notes.h"

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

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

void WritePairs(JsonWriter& writer, const std::vector<Point>& points) {
    writer.StartArray();
    for (const Point& p : points) {
        writer.StartArray();
        writer.Int(p.x);
        writer.Int(p.y);
        writer.EndArray();
    }
    writer.EndArray();
}

}  // namespace

// Written as a stream of values: a document tree would cost one allocation
// per sample, several times the load of the file itself.
std::string ExportJson(const ExportScope& scope) {
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
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
    writer.Key("notes");
    writer.StartArray();
    ForEachNote(scope, [&writer](int n, const SplineList& splines) {
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
            writer.EndObject();
        }
        writer.EndArray();
        writer.EndObject();
    });
    writer.EndArray();
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string ExportCsv(const ExportScope& scope) {
    std::string out = "note,spline,kind,index,x,y\n";
    ForEachNote(scope, [&out](int n, const SplineList& splines) {
        for (std::size_t s = 0; s < splines.size(); ++s) {
            const auto rows = [&](const char* kind, const std::vector<Point>& points) {
                for (std::size_t i = 0; i < points.size(); ++i) {
                    out += std::to_string(n) + ',' + std::to_string(s) + ',' + kind + ',' +
                           std::to_string(i) + ',' + std::to_string(points[i].x) + ',' +
                           std::to_string(points[i].y) + '\n';
                }
            };
            rows("point", splines[s]);
            rows("sample", CurveOf(splines[s]));
        }
    });
    return out;
}

namespace {

std::string Cross(Point p, int arm, const char* colour) {
    const auto xy = [](int64_t x, int64_t y) {
        return std::to_string(x) + ' ' + std::to_string(y);
    };
    return "<path d=\"M" + xy(int64_t{p.x} - arm, p.y) + "H" + std::to_string(int64_t{p.x} + arm) +
           "M" + xy(p.x, int64_t{p.y} - arm) + "V" + std::to_string(int64_t{p.y} + arm) +
           "\" stroke=\"" + colour + "\"/>\n";
}

}  // namespace

std::string ExportSvg(const ExportScope& scope) {
    const int width = kEditorClient.right;
    const int height = kEditorClient.bottom;
    std::string pictures;
    int count = 0;
    ForEachNote(scope, [&](int n, const SplineList& splines) {
        pictures += "<g id=\"note-" + std::to_string(n) + "\" transform=\"translate(0 " +
                    std::to_string(count++ * height) + ")\">\n<rect width=\"" +
                    std::to_string(width) + "\" height=\"" + std::to_string(height) +
                    "\" fill=\"#c0c0c0\"/>\n";
        for (const Spline& spline : splines) {
            const std::vector<Point> curve = CurveOf(spline);
            if (!curve.empty()) {
                pictures += "<polyline fill=\"none\" stroke=\"#000000\" points=\"";
                for (const Point& p : curve) {
                    pictures += std::to_string(p.x) + ',' + std::to_string(p.y) + ' ';
                }
                pictures.back() = '"';
                pictures += "/>\n";
            }
            for (std::size_t i = 0; i < spline.size(); ++i) {
                pictures +=
                    i == 0 ? Cross(spline[i], 6, "#4080ff") : Cross(spline[i], 4, "#ff0000");
            }
        }
        pictures += "</g>\n";
    });
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(count * height) +
           "\" viewBox=\"0 0 " + std::to_string(width) + ' ' + std::to_string(count * height) +
           "\" shape-rendering=\"crispEdges\">\n" + pictures + "</svg>\n";
}

}  // namespace velmora::tool
