#include "tools/export/curve_command.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "curve/rebuild_curve.h"
#include "tools/cli/cli_io.h"

namespace velmora::tool {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reads one int32_t at `pos` after optional blanks; advances `pos` past it.
bool ReadInt32(const std::string& line, size_t& pos, int32_t& value) {
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos == line.size())
        return false;
    const char* begin = line.c_str() + pos;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || parsed < std::numeric_limits<int32_t>::min() ||
        parsed > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(parsed);
    pos += static_cast<size_t>(end - begin);
    return true;
}

// Parses "x y" with nothing else on the line but blanks.
bool ParsePoint(const std::string& line, Point& point) {
    size_t pos = 0;
    if (!ReadInt32(line, pos, point.x))
        return false;
    if (pos == line.size() || !IsBlank(line[pos]))
        return false;
    if (!ReadInt32(line, pos, point.y))
        return false;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    return pos == line.size();
}

bool IsBlankLine(const std::string& line) {
    for (char c : line)
        if (!IsBlank(c))
            return false;
    return true;
}

}  // namespace

int RunCurve(std::istream& in, const std::string& name, std::ostream& out, std::ostream& err) {
    std::vector<Point> points;
    std::string line;
    for (long lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (IsBlankLine(line))
            continue;
        Point point;
        if (!ParsePoint(line, point)) {
            err << "velmora-tool curve: " << Printable(name) << ", line " << lineNumber
                << ": expected two integers \"x y\", got \"" << Printable(line.substr(0, 60))
                << (line.size() > 60 ? "...\"\n" : "\"\n");
            return 1;
        }
        points.push_back(point);
    }

    std::vector<Point> curve;
    RebuildCurve(points, curve);
    for (const Point& p : curve)
        out << p.x << ' ' << p.y << '\n';
    return 0;
}

}  // namespace velmora::tool
