// The native C library's answers, for the tests of the WebAssembly module to
// compare with. Reads requests from standard input, one per line, and
// prints one line of JSON for each:
//   curve N X1 Y1 ... XN YN K F1 ... FK  the samples, the precise samples,
//       the path's length, and its point and direction at each fraction F of
//       the length (F * length, as the caller computes it)
//   file PATH  velmora_file_parse of the file's bytes
//   editor  the client size, the origin and the targets
//   pixels PNG OUT  the picture's pixels as RGBA bytes, row by row, into OUT
// Doubles are printed with 17 digits, which read back to the same double.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <QtGui/QImage>

#include "tools/json_writer.h"
#include "velmora/curve.h"
#include "velmora/splinefile.h"

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string Quoted(const char* text) {
    rapidjson::StringBuffer json;
    rapidjson::Writer<rapidjson::StringBuffer>(json).String(text);
    return json.GetString();
}

template <class T>
std::string Pairs(const std::vector<T>& xy) {
    std::string out = "[";
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        out += (i > 0 ? ",[" : "[") + Number(xy[i]) + "," + Number(xy[i + 1]) + "]";
    return out + "]";
}

template <class T, class Sampler>
std::vector<T> Samples(const std::vector<int32_t>& points, Sampler sample) {
    const size_t count = sample(points.data(), points.size() / 2, nullptr, 0);
    std::vector<T> xy(2 * count);
    sample(points.data(), points.size() / 2, xy.data(), count);
    return xy;
}

std::string Curve(std::istringstream& request) {
    size_t count = 0;
    request >> count;
    std::vector<int32_t> points(2 * count);
    for (int32_t& value : points)
        request >> value;
    velmora_path* path = velmora_path_new(points.data(), count);
    const double length = velmora_path_length(path);
    std::vector<double> at;
    std::vector<double> direction;
    size_t fractions = 0;
    request >> fractions;
    for (std::string fraction; fractions > 0 && request >> fraction; --fractions) {
        const double distance = std::stod(fraction) * length;
        double x = 0, y = 0;
        velmora_path_at(path, distance, &x, &y);
        at.insert(at.end(), {x, y});
        velmora_path_direction(path, distance, &x, &y);
        direction.insert(direction.end(), {x, y});
    }
    velmora_path_free(path);
    return "{\"curve\":" + Pairs(Samples<int32_t>(points, velmora_curve)) +
           ",\"precise\":" + Pairs(Samples<double>(points, velmora_curve_precise)) +
           ",\"length\":" + Number(length) + ",\"at\":" + Pairs(at) +
           ",\"direction\":" + Pairs(direction) + "}";
}

std::string File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    velmora_file* file = velmora_file_parse(bytes.data(), bytes.size());
    static const char* const kStatus[] = {"loaded", "partial", "missing", "empty", "unreadable"};
    std::string notes = "[";
    for (int note = 0; note < 4; ++note) {
        notes += note > 0 ? ",[" : "[";
        for (size_t s = 0; s < velmora_file_spline_count(file, note); ++s) {
            std::vector<int32_t> xy(2 * velmora_file_points(file, note, s, nullptr, 0));
            velmora_file_points(file, note, s, xy.data(), xy.size() / 2);
            notes += (s > 0 ? "," : "") + Pairs(xy);
        }
        notes += "]";
    }
    const std::string answer = std::string("{\"status\":\"") + kStatus[velmora_file_status(file)] +
                               "\",\"reason\":" + Quoted(velmora_file_reason(file)) +
                               ",\"line\":" + std::to_string(velmora_file_line(file)) +
                               ",\"column\":" + std::to_string(velmora_file_column(file)) +
                               ",\"notes\":" + notes + "]}";
    velmora_file_free(file);
    return answer;
}

// [[width, height], origin, target 0, ..., target 3]
std::string Editor() {
    std::vector<int32_t> xy = {VELMORA_EDITOR_CLIENT_WIDTH, VELMORA_EDITOR_CLIENT_HEIGHT, 0, 0};
    velmora_editor_origin(&xy[2], &xy[3]);
    for (int note = 0; note < 4; ++note) {
        xy.resize(xy.size() + 2);
        velmora_editor_target(note, &xy[xy.size() - 2], &xy.back());
    }
    return Pairs(xy);
}

std::string Pixels(const std::string& png, const std::string& out) {
    const QImage image =
        QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGBA8888);
    std::ofstream(out, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    return "[" + std::to_string(image.width()) + "," + std::to_string(image.height()) + "]";
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream request(line);
        std::string kind;
        request >> kind;
        if (kind == "curve") {
            std::cout << Curve(request) << '\n';
        } else if (kind == "editor") {
            std::cout << Editor() << '\n';
        } else if (kind == "pixels") {
            std::string png, out;
            request >> png >> out;
            std::cout << Pixels(png, out) << '\n';
        } else {
            std::string path;
            std::getline(request >> std::ws, path);
            std::cout << File(path) << '\n';
        }
    }
    return 0;
}
