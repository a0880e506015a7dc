#include <cstdio>
#include <sstream>

#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/cli/verb_support.h"
#include "tools/export/curve_command.h"

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

const option kCurveLong[] = {{}};
const VerbOptions kCurveOptions{kCurveHelp, "", kCurveLong};

int RunCurveVerb(const Verb& verb, int argc, char** argv) {
    const VerbArguments args = ParseVerb(
        verb, argc, argv, [](int, const char*) { return true; }, Operands::kOneFile);
    if (args.done)
        return *args.done;
    const Input input = ReadInput(args.operands.front());
    if (!input.ok)
        return Failure("curve", Printable(input.error));
    std::istringstream in(input.bytes);
    std::ostringstream out, err;
    const int code = RunCurve(in, input.name, out, err);
    std::fputs(err.str().c_str(), stderr);
    return code != 0 ? code : Emit("curve", "-", out.str());
}

}  // namespace velmora::tool
