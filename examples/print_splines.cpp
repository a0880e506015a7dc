// Reads a Splines.xml as the Velmora editor does and prints every spline's
// control points and curve samples as CSV:
//   note,spline,kind,index,x,y      (kind: point or sample)
//
//   print_splines [Splines.xml]
#include <cstdio>
#include <vector>

#include <velmora/curve.hpp>
#include <velmora/splinefile.hpp>

namespace {

void PrintRows(size_t note, size_t spline, const char* kind,
               const std::vector<velmora::Point>& points) {
    for (size_t i = 0; i < points.size(); ++i) {
        std::printf("%zu,%zu,%s,%zu,%d,%d\n", note, spline, kind, i, static_cast<int>(points[i].x),
                    static_cast<int>(points[i].y));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "Splines.xml";
    const velmora::SplineFileContents file = velmora::ReadSplineFile(path);
    // Like the editor, go on with the default splines, after saying why.
    if (file.status == velmora::SplineFileStatus::kUnreadable ||
        file.status == velmora::SplineFileStatus::kPartial) {
        std::fprintf(stderr, "%s\n", file.message.c_str());
    } else if (file.status == velmora::SplineFileStatus::kMissing) {
        std::fprintf(stderr, "%s: no such file; showing the default splines\n", path);
    }
    std::printf("note,spline,kind,index,x,y\n");
    for (size_t note = 0; note < file.notes.size(); ++note) {
        for (size_t spline = 0; spline < file.notes[note].size(); ++spline) {
            const velmora::Spline& points = file.notes[note][spline];
            PrintRows(note, spline, "point", points);
            PrintRows(note, spline, "sample", velmora::SampleCurve(points));
        }
    }
    // Output that could not be written (a full disk) is a failure.
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
