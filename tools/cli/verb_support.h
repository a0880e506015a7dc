#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/cli/cli_io.h"
#include "tools/cli/load_verdict.h"
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

// Writes the verb's output ("-": standard output) as WriteOutput does; a
// failed write is reported and gives 1.
int Emit(const std::string& verb, const std::string& path, const Producer& produce);
int Emit(const std::string& verb, const std::string& path, const std::string& bytes);

}  // namespace velmora::tool
