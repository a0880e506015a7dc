// velmora-tool: the editor's curve and file rules for game code and scripts.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include "io/disk/win32/win32_files.h"
#endif
#include "resources/resource_ids.h"
#include "tools/cli/verb_support.h"

namespace {

using namespace velmora::tool;

const Verb kVerbs[] = {
    {"curve", "print the curve samples through \"x y\" control points", &kCurveOptions,
     RunCurveVerb},
    {"check", "list every problem the editor would have with a spline file", &kCheckOptions,
     RunCheckVerb},
    {"export", "write a spline file's splines and curves as JSON, CSV or SVG", &kExportOptions,
     RunExportVerb},
    {"watch", "export a spline file again after every change, for a running game", &kWatchOptions,
     RunWatchVerb},
    {"diff", "list what differs between what the editor shows for two files", &kDiffOptions,
     RunDiffVerb},
    {"merge", "merge two spline files with their base, as git's merge driver", &kMergeOptions,
     RunMergeVerb},
    {"git-setup", "make git merge and diff Splines.xml with the two verbs above", &kGitSetupOptions,
     RunGitSetupVerb},
    {"format", "rewrite a spline file in the form the editor saves, safely", &kFormatOptions,
     RunFormatVerb},
    {"render", "draw what the editor shows for a spline, as a PNG", &kRenderOptions, RunRenderVerb},
};

// The usage text, with one line per verb of the table.
std::string Usage() {
    std::string usage =
        "Usage: velmora-tool VERB [OPTIONS] [FILE]\n"
        "       velmora-tool --help | --version\n"
        "\n"
        "Verbs (each has --help):\n";
    for (const Verb& verb : kVerbs) {
        const std::string name = verb.name;
        usage += "  " + name + std::string(name.size() < 6 ? 8 - name.size() : 2, ' ') +
                 verb.summary + "\n";
    }
    return usage +
           "\n"
           "FILE \"-\" (or none) is standard input; a named pipe is read as a stream.\n"
           "Notes count from 0, splines and points from 1, as in the editor's caption.\n"
           "\n"
           "Exit codes: 0 success, 1 bad, unreadable or partly read input or a failed\n"
           "write, 2 bad usage; diff and merge have their own (see their --help).\n";
}

int RunVerb(const std::string& name, int argc, char** argv) {
    for (const Verb& verb : kVerbs) {
        if (name != verb.name)
            continue;
        return verb.run(verb, argc, argv);
    }
    return UsageError("", "unknown verb '" + Printable(name) + "'");
}

int Main(int argc, char** argv) {
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
        return Emit("", "-", Usage());
    if (mode == 'V')
        return Emit("", "-", std::string("velmora-tool ") + velmora::kVersionText + "\n");
    if (rest->empty()) {
        std::fputs(Usage().c_str(), stderr);
        return 2;
    }
    // The verb's arguments start at the verb itself, which getopt skips.
    const int first = argc - static_cast<int>(rest->size());
    return RunVerb(rest->front(), argc - first, argv + first);
}

}  // namespace

#ifdef _WIN32
// Windows hands over the arguments as UTF-16; the verbs take them in UTF-8,
// as on Linux, so that a name outside the ANSI code page reaches the files
// whole.
int wmain(int argc, wchar_t** wide) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(velmora::win32::Utf8FromWide(wide[i]));
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return Main(argc, argv.data());
}
#else
int main(int argc, char** argv) { return Main(argc, argv); }
#endif
