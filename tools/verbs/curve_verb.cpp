#include <cstdio>
#include <sstream>

#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/export/curve_command.h"
#include "tools/verbs.h"

namespace velmora::tool {

namespace {

const char* const kCurveHelp =
    "Usage: velmora-tool curve [FILE]\n"
    "\n"
    "Reads control points, one \"x y\" pair of integers per line (blank lines are\n"
    "ignored), from FILE or, without FILE or with \"-\", standard input, and prints\n"
    "the samples of the curve the editor draws through them, one \"x y\" per line.\n"
    "Fewer than two points print nothing.\n"
    "\n"
    "Exit codes: 0 success, 1 unreadable input or a line that is not two integers\n"
    "(its number is given), or a failed write; 2 bad usage.\n";

}  // namespace

int RunCurveVerb(int argc, char** argv) {
    static const option kLong[] = {{"help", no_argument, nullptr, 'h'}, {}};
    bool help = false;
    const auto file = SingleFile(
        "curve", ParseOptions("curve", argc, argv, "h", kLong, [&help](int, const char*) {
            help = true;
            return true;
        }));
    if (!file)
        return 2;
    if (help)
        return Emit("curve", "-", kCurveHelp);
    const Input input = ReadInput(*file);
    if (!input.ok)
        return Failure("curve", Printable(input.error));
    std::istringstream in(input.bytes);
    std::ostringstream out, err;
    const int code = RunCurve(in, input.name, out, err);
    std::fputs(err.str().c_str(), stderr);
    return code != 0 ? code : Emit("curve", "-", out.str());
}

}  // namespace velmora::tool
