// The C library's answers to the questions of cases.txt, in the text every
// binding's own answers program prints, so that a binding is right when its
// text is the same. Doubles are printed as their 64 bits in hexadecimal (NaN as "nan").
//
//   binding_answers CASES CORPUS
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <velmora/curve.h>
#include <velmora/splinefile.h>

namespace {

// NaN as "nan": each language has its own bits for it.
std::string Bits(double value) {
    if (std::isnan(value))
        return "nan";
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, bits);
    return text;
}

// The distances a path is asked about: fixed ones, and fractions of its length.
std::vector<double> Distances(double length) {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> distances{-1.0, -inf, std::numeric_limits<double>::quiet_NaN(), 0.0};
    for (double fraction : {0.001, 0.25, 0.5, 0.75, 1.0})
        distances.push_back(length * fraction);
    distances.push_back(length + 1.0);
    distances.push_back(inf);
    return distances;
}

void Curve(const std::string& label, const std::vector<int32_t>& xy) {
    const size_t n = xy.size() / 2;
    const size_t count = velmora_curve(xy.data(), n, nullptr, 0);
    std::vector<int32_t> samples(2 * count);
    velmora_curve(xy.data(), n, samples.data(), count);
    std::printf("%s samples %zu:", label.c_str(), count);
    for (int32_t v : samples)
        std::printf(" %" PRId32, v);
    std::vector<double> precise(2 * velmora_curve_precise(xy.data(), n, nullptr, 0));
    velmora_curve_precise(xy.data(), n, precise.data(), precise.size() / 2);
    std::printf("\n%s precise %zu:", label.c_str(), precise.size() / 2);
    for (double v : precise)
        std::printf(" %s", Bits(v).c_str());
    std::printf("\n");

    velmora_path* path = velmora_path_new(xy.data(), n);
    const double length = velmora_path_length(path);
    std::printf("%s length %s\n", label.c_str(), Bits(length).c_str());
    for (double distance : Distances(length)) {
        double x = 0, y = 0, dx = 0, dy = 0;
        velmora_path_at(path, distance, &x, &y);
        velmora_path_direction(path, distance, &dx, &dy);
        std::printf("%s at %s: %s %s direction %s %s\n", label.c_str(), Bits(distance).c_str(),
                    Bits(x).c_str(), Bits(y).c_str(), Bits(dx).c_str(), Bits(dy).c_str());
    }
    velmora_path_free(path);
}

void File(const std::string& label, velmora_file* file) {
    std::printf("%s status %d line %d column %d\n%s reason %s\n", label.c_str(),
                velmora_file_status(file), velmora_file_line(file), velmora_file_column(file),
                label.c_str(), velmora_file_reason(file));
    for (int note = 0; note < 4; ++note) {
        for (size_t s = 0; s < velmora_file_spline_count(file, note); ++s) {
            std::vector<int32_t> xy(2 * velmora_file_points(file, note, s, nullptr, 0));
            velmora_file_points(file, note, s, xy.data(), xy.size() / 2);
            std::printf("%s note %d spline %zu:", label.c_str(), note, s);
            for (int32_t v : xy)
                std::printf(" %" PRId32, v);
            std::printf("\n");
        }
    }
    velmora_file_free(file);
}

void Geometry() {
    int32_t x = 0, y = 0;
    velmora_editor_origin(&x, &y);
    std::printf("geometry client %d %d origin %" PRId32 " %" PRId32 " targets",
                VELMORA_EDITOR_CLIENT_WIDTH, VELMORA_EDITOR_CLIENT_HEIGHT, x, y);
    for (int note = 0; note < 4; ++note) {
        velmora_editor_target(note, &x, &y);
        std::printf(" %" PRId32 " %" PRId32, x, y);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: binding_answers CASES CORPUS\n");
        return 2;
    }
    std::ifstream cases(argv[1]);
    const std::string corpus = argv[2];
    std::string line;
    int number = 0;
    while (std::getline(cases, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        ++number;
        std::istringstream words(line);
        std::string kind, name;
        words >> kind;
        if (kind == "curve") {
            std::vector<int32_t> xy{std::istream_iterator<int32_t>(words), {}};
            Curve("curve " + std::to_string(number), xy);
        } else if (kind == "file" || kind == "missing") {
            words >> name;
            const std::string path = corpus + "/" + name;
            std::ifstream in(path, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            File("read " + name, velmora_file_read(path.c_str()));
            File("parse " + name, velmora_file_parse(bytes.data(), bytes.size()));
        } else if (kind == "geometry") {
            Geometry();
        } else {
            std::fprintf(stderr, "binding_answers: unknown case: %s\n", line.c_str());
            return 2;
        }
    }
    return 0;
}
