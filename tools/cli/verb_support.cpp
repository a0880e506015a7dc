#include "tools/cli/verb_support.h"

#include <cstdio>
#include <vector>

namespace velmora::tool {

int Failure(const std::string& verb, const std::string& message) {
    const std::string prefix = verb.empty() ? "velmora-tool" : "velmora-tool " + verb;
    std::fprintf(stderr, "%s: %s\n", prefix.c_str(), message.c_str());
    return 1;
}

namespace {

// The single FILE operand of a verb ("-" when there is none) in `file`, or
// false after a usage message; an empty FILE is a mistake, not standard input.
bool OneFile(const std::string& verb, const std::vector<std::string>& operands,
             std::vector<std::string>& file) {
    if (operands.size() > 1) {
        UsageError(verb, "one FILE at most, got also '" + Printable(operands[1]) + "'");
        return false;
    }
    if (!operands.empty() && operands.front().empty()) {
        UsageError(verb, "FILE is empty; give \"-\" for standard input");
        return false;
    }
    file = {operands.empty() ? std::string("-") : operands.front()};
    return true;
}

}  // namespace

VerbArguments ParseVerb(const Verb& verb, int argc, char** argv, const OptionHandler& handle,
                        Operands operands) {
    const VerbOptions& options = *verb.options;
    std::vector<option> longOptions{{"help", no_argument, nullptr, 'h'}};
    for (const option* o = options.longOptions; o->name != nullptr; ++o)
        longOptions.push_back(*o);
    longOptions.push_back({});
    bool help = false;
    const auto read =
        ParseOptions(verb.name, argc, argv, ("h" + std::string(options.shortOptions)).c_str(),
                     longOptions.data(), [&](int option, const char* value) {
                         if (option != 'h')
                             return handle(option, value);
                         help = true;
                         return true;
                     });
    VerbArguments out;
    if (!read || (operands == Operands::kOneFile && !OneFile(verb.name, *read, out.operands))) {
        out.done = 2;
        return out;
    }
    if (help) {
        out.done = Emit(verb.name, "-", options.help) == 0 ? 0 : options.helpFailure;
        return out;
    }
    if (operands == Operands::kAny)
        out.operands = *read;
    return out;
}

int Emit(const std::string& verb, const std::string& path, const Producer& produce) {
    const std::string error = WriteOutput(path, produce);
    return error.empty() ? 0 : Failure(verb, error);
}

int Emit(const std::string& verb, const std::string& path, const std::string& bytes) {
    return Emit(verb, path, [&bytes](OutputStream& out) { out.Write(bytes); });
}

}  // namespace velmora::tool
