#pragma once

#include <getopt.h>

namespace velmora::tool {

// What a verb takes on its command line besides -h and --help, which every
// verb has, and what --help prints.
struct VerbOptions {
    const char* help;
    const char* shortOptions;   // getopt_long's, without "h"
    const option* longOptions;  // ends with {}; without "help"
    // The exit code when the help cannot be written: 2 for the verbs whose 1
    // means something else (changes, conflicts).
    int helpFailure = 1;
};

struct Verb;

// Runs a verb with its arguments (argv[0] is the verb's name) and returns
// the exit code: 0 success, 1 bad or unreadable input or a failed write, 2
// a usage error; diff and merge have their own, as their --help says.
using VerbRun = int (*)(const Verb& verb, int argc, char** argv);

// A row of velmora-tool's table of verbs, from which both its usage text
// and the choice of the verb to run come.
struct Verb {
    const char* name;
    const char* summary;  // its line in the usage text
    const VerbOptions* options;
    VerbRun run;
};

extern const VerbOptions kCurveOptions, kCheckOptions, kExportOptions, kWatchOptions, kDiffOptions,
    kMergeOptions, kGitSetupOptions, kFormatOptions, kRenderOptions;

int RunCurveVerb(const Verb& verb, int argc, char** argv);
int RunCheckVerb(const Verb& verb, int argc, char** argv);
int RunExportVerb(const Verb& verb, int argc, char** argv);
int RunWatchVerb(const Verb& verb, int argc, char** argv);
int RunDiffVerb(const Verb& verb, int argc, char** argv);
int RunMergeVerb(const Verb& verb, int argc, char** argv);
int RunGitSetupVerb(const Verb& verb, int argc, char** argv);
int RunFormatVerb(const Verb& verb, int argc, char** argv);
int RunRenderVerb(const Verb& verb, int argc, char** argv);

}  // namespace velmora::tool
