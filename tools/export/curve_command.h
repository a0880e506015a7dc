#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace velmora::tool {

// Reads control points, one "x y" pair of integers per line (blank lines
// ignored), and prints the samples of the curve through them, one "x y" per
// line. Fewer than two points print nothing. Returns the exit code: 0, or 1
// after a message on `err` naming `name` and the first line that is not two integers.
int RunCurve(std::istream& in, const std::string& name, std::ostream& out, std::ostream& err);

}  // namespace velmora::tool
