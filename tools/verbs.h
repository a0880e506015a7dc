#pragma once

#include <optional>
#include <string>
#include <vector>

#include "io/loaded_notes.h"
#include "tools/cli/cli_io.h"

namespace velmora::tool {

// Each verb takes its own arguments (argv[0] is the verb's name) and
// returns the exit code: 0 success, 1 bad or unreadable input or a failed
// write, 2 a usage error.
int RunCurveVerb(int argc, char** argv);
int RunCheckVerb(int argc, char** argv);
int RunExportVerb(int argc, char** argv);
int RunRenderVerb(int argc, char** argv);
int RunFormatVerb(int argc, char** argv);
int RunWatchVerb(int argc, char** argv);
// diff and merge exit with their own codes, as their --help says.
int RunDiffVerb(int argc, char** argv);
int RunMergeVerb(int argc, char** argv);
int RunGitSetupVerb(int argc, char** argv);

// Prints "velmora-tool VERB: MESSAGE" on standard error; returns 1.
int Failure(const std::string& verb, const std::string& message);

// Whether a verb may go on with what loading `name` gave. An unreadable file,
// one read only in part, or one that holds text but no note is refused with
// the reason, line and column, unless `allowPartial`: then a warning says so
// and the verb goes on with what was read (the default splines where nothing
// was). Prints on standard error.
bool AcceptLoad(const std::string& verb, const std::string& name, const LoadOutcome& outcome,
                bool allowPartial);

// Loads FILE ("-": standard input) as the editor would, accepting it as
// AcceptLoad says. Prints why and returns nothing when it cannot be read or
// is refused.
std::optional<LoadedNotes> LoadForVerb(const std::string& verb, const std::string& path,
                                       bool allowPartial);

// The single FILE operand of a verb ("-" when there is none), or nothing
// after a usage message; an empty FILE is a mistake, not standard input.
std::optional<std::string> SingleFile(const std::string& verb,
                                      const std::optional<std::vector<std::string>>& operands);

// Writes the verb's output ("-": standard output) as WriteOutput does; a
// failed write is reported and gives 1.
int Emit(const std::string& verb, const std::string& path, const Producer& produce);
int Emit(const std::string& verb, const std::string& path, const std::string& bytes);

}  // namespace velmora::tool
