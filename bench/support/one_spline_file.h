#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace velmora::bench {

// Writes, in a fresh temporary folder, a spline file whose note 0 holds one
// spline of `count` points, random on the canvas or alternating between two
// far corners, in the most compact form the reader takes (only the first
// point element needs its name), so that the most points fit in a file. The
// first point sits apart at (5, 5), so that a drag picks it up for certain.
// Returns the file's path.
inline std::string WriteOneSplineFile(int count, bool farApart) {
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr)
        std::abort();
    const std::string path = dir + "/Splines.xml";
    std::mt19937 random(42);
    std::uniform_int_distribution<int32_t> x(20, 459), y(20, 339);
    std::ofstream out(path);
    out << "<NewNoteSpline Index=\"0\"><NewSpline>";
    out << "<ControlPoint PosX=5 PosY=5/>";
    for (int i = 1; i < count; ++i) {
        const int32_t px = farApart ? (i % 2 == 0 ? -9999 : 9999) : x(random);
        const int32_t py = farApart ? (i % 2 == 0 ? -9999 : 9999) : y(random);
        out << "<a PosX=" << px << " PosY=" << py << "/>";
    }
    out << "</NewSpline></NewNoteSpline>\n";
    return path;
}

}  // namespace velmora::bench
