// velmora-tool: the editor's curve and file rules for game code and scripts.
#include <cstdio>
#include <cstring>
#include <string>

#include "resources/resource_ids.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/verbs.h"

namespace {

const char* const kUsage =
    "Usage: velmora-tool VERB [OPTIONS] [FILE]\n"
    "       velmora-tool --help | --version\n"
    "\n"
    "Verbs (each has --help):\n"
    "  curve   print the curve samples through \"x y\" control points\n"
    "  check   list every problem the editor would have with a spline file\n"
    "  export  write a spline file's splines and curves as JSON, CSV or SVG\n"
    "  watch   export a spline file again after every change, for a running game\n"
    "  diff    list what differs between what the editor shows for two files\n"
    "  merge   merge two spline files with their base, as git's merge driver\n"
    "  git-setup  make git merge and diff Splines.xml with the two verbs above\n"
    "  format  rewrite a spline file in the form the editor saves, safely\n"
#ifdef VELMORA_TOOL_RENDER
    "  render  draw what the editor shows for a spline, as a PNG\n"
#else
    "  render  (not in this build: it needs the GUI build, VELMORA_GUI=ON)\n"
#endif
    "\n"
    "FILE \"-\" (or none) is standard input; a named pipe is read as a stream.\n"
    "Notes count from 0, splines and points from 1, as in the editor's caption.\n"
    "\n"
    "Exit codes: 0 success, 1 bad, unreadable or partly read input or a failed\n"
    "write, 2 bad usage; diff and merge have their own (see their --help).\n";

int RunVerb(const std::string& verb, int argc, char** argv) {
    using namespace velmora::tool;
    if (verb == "curve")
        return RunCurveVerb(argc, argv);
    if (verb == "check")
        return RunCheckVerb(argc, argv);
    if (verb == "export")
        return RunExportVerb(argc, argv);
    if (verb == "watch")
        return RunWatchVerb(argc, argv);
    if (verb == "diff")
        return RunDiffVerb(argc, argv);
    if (verb == "merge")
        return RunMergeVerb(argc, argv);
    if (verb == "git-setup")
        return RunGitSetupVerb(argc, argv);
    if (verb == "format")
        return RunFormatVerb(argc, argv);
#ifdef VELMORA_TOOL_RENDER
    if (verb == "render")
        return RunRenderVerb(argc, argv);
#else
    if (verb == "render") {
        return UsageError("",
                          "this build has no render verb: it was built without the GUI "
                          "(VELMORA_GUI=OFF), and render needs Qt's image support");
    }
#endif
    return UsageError("", "unknown verb '" + Printable(verb) + "'");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::tool;
    static const option kLong[] = {
        {"help", no_argument, nullptr, 'h'}, {"version", no_argument, nullptr, 'V'}, {}};
    char mode = 0;
    // '+' stops at the verb, so the verb's own options are left for it.
    const auto rest = ParseOptions("", argc, argv, "+hV", kLong, [&mode](int option, const char*) {
        mode = static_cast<char>(option);
        return true;
    });
    if (!rest)
        return 2;
    if (mode == 'h')
        return Emit("", "-", kUsage);
    if (mode == 'V')
        return Emit("", "-", std::string("velmora-tool ") + velmora::kVersionText + "\n");
    if (rest->empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // The verb's arguments start at the verb itself, which getopt skips.
    const int first = argc - static_cast<int>(rest->size());
    return RunVerb(rest->front(), argc - first, argv + first);
}
