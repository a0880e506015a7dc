#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/loaded_notes.h"

namespace velmora::tool {

// Each verb takes its own arguments (argv[0] is the verb's name) and
// returns the exit code: 0 success, 1 bad or unreadable input or a failed
// write, 2 a usage error.
int RunCurveVerb(int argc, char** argv);
int RunCheckVerb(int argc, char** argv);
int RunExportVerb(int argc, char** argv);
int RunRenderVerb(int argc, char** argv);
int RunWatchVerb(int argc, char** argv);
// diff and merge exit with their own codes, as their --help says.
int RunDiffVerb(int argc, char** argv);
int RunMergeVerb(int argc, char** argv);
int RunGitSetupVerb(int argc, char** argv);

// Prints "velmora-tool VERB: MESSAGE" on standard error; returns 1.
int Failure(const std::string& verb, const std::string& message);

// Loads FILE ("-" or empty: standard input) as the editor would. Prints why
// and returns nothing when it cannot be read or the editor would refuse it.
std::optional<LoadedNotes> LoadForVerb(const std::string& verb, const std::string& path);

// The single FILE operand of a verb, or nothing after a usage message.
std::optional<std::string> SingleFile(const std::string& verb,
                                      const std::optional<std::vector<std::string>>& operands);

// Writes the verb's output; a failed write is reported and gives 1.
int Emit(const std::string& verb, const std::string& path, const std::string& bytes);

}  // namespace velmora::tool
