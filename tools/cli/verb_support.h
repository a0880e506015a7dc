#pragma once

#include <optional>
#include <string>
#include <vector>

#include "io/loaded_notes.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/verbs.h"

namespace velmora::tool {

// Prints "velmora-tool VERB: MESSAGE" on standard error; returns 1.
int Failure(const std::string& verb, const std::string& message);

// A verb's operands once its options are read, or its exit code when it has
// nothing more to do.
struct VerbArguments {
    std::optional<int> done;  // 2 after a usage message, or that of printing --help
    std::vector<std::string> operands;
};

// How many operands a verb takes, where its options are read.
enum class Operands {
    kAny,      // the verb counts them itself
    kOneFile,  // FILE at most, "-" (standard input) without one
};

// Reads a verb's options with `handle` (-h and --help print the verb's help)
// and its operands as `operands` says.
VerbArguments ParseVerb(const Verb& verb, int argc, char** argv, const OptionHandler& handle,
                        Operands operands);

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

// Writes the verb's output ("-": standard output) as WriteOutput does; a
// failed write is reported and gives 1.
int Emit(const std::string& verb, const std::string& path, const Producer& produce);
int Emit(const std::string& verb, const std::string& path, const std::string& bytes);

}  // namespace velmora::tool
