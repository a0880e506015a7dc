#include <cstdio>
#include <vector>

#include "tools/cli_io.h"
#include "tools/options.h"
#include "tools/verbs.h"

namespace velmora::tool {

int Failure(const std::string& verb, const std::string& message) {
    const std::string prefix = verb.empty() ? "velmora-tool" : "velmora-tool " + verb;
    std::fprintf(stderr, "%s: %s\n", prefix.c_str(), message.c_str());
    return 1;
}

std::optional<LoadedNotes> LoadForVerb(const std::string& verb, const std::string& path) {
    const Input input = ReadInput(path);
    if (!input.ok) {
        Failure(verb, Printable(input.error));
        return std::nullopt;
    }
    LoadedNotes loaded = LoadLikeEditor(input.bytes);
    const LoadOutcome& outcome = loaded.outcome;
    if (outcome.status == LoadStatus::kUnreadable) {
        std::string where = "\"" + Printable(input.name) + "\"";
        if (outcome.line > 0) {
            where += ", line " + std::to_string(outcome.line) + ", column " +
                     std::to_string(outcome.column);
        }
        Failure(verb, where + ": the editor cannot read it: " + Printable(outcome.reason));
        return std::nullopt;
    }
    return loaded;
}

std::optional<std::string> SingleFile(const std::string& verb,
                                      const std::optional<std::vector<std::string>>& operands) {
    if (!operands)
        return std::nullopt;
    if (operands->size() > 1) {
        UsageError(verb, "one FILE at most, got also '" + Printable((*operands)[1]) + "'");
        return std::nullopt;
    }
    return operands->empty() ? std::string() : operands->front();
}

int Emit(const std::string& verb, const std::string& path, const std::string& bytes) {
    const std::string error = WriteOutput(path, bytes);
    return error.empty() ? 0 : Failure(verb, error);
}

}  // namespace velmora::tool
