#include <cstdio>
#include <vector>

#include "tools/cli/cli_io.h"
#include "tools/cli/options.h"
#include "tools/verbs.h"

namespace velmora::tool {

int Failure(const std::string& verb, const std::string& message) {
    const std::string prefix = verb.empty() ? "velmora-tool" : "velmora-tool " + verb;
    std::fprintf(stderr, "%s: %s\n", prefix.c_str(), message.c_str());
    return 1;
}

namespace {

// "\"FILE\", line L, column C" where the place is known.
std::string Where(const std::string& name, const LoadOutcome& outcome) {
    std::string where = "\"" + Printable(name) + "\"";
    if (outcome.line > 0) {
        where +=
            ", line " + std::to_string(outcome.line) + ", column " + std::to_string(outcome.column);
    }
    return where;
}

// What is wrong with the load, or "" when the file was read in full.
std::string LoadProblem(const LoadOutcome& outcome) {
    const std::string stopped = "reading stopped at " + Printable(outcome.reason);
    if (outcome.status == LoadStatus::kUnreadable || outcome.status == LoadStatus::kNotAFile)
        return "the editor cannot read it: " + Printable(outcome.reason);
    if (outcome.status != LoadStatus::kLoaded)
        return std::string();
    if (outcome.conflicted)
        return "it holds " + Printable(outcome.reason) + "; finish the merge first";
    if (outcome.noNote)
        return "it holds no note the editor can read" +
               (outcome.stoppedEarly ? "; " + stopped : "");
    if (outcome.stoppedEarly)
        return "read only in part: " + stopped + "; what follows was not read";
    return std::string();
}

}  // namespace

bool AcceptLoad(const std::string& verb, const std::string& name, const LoadOutcome& outcome,
                bool allowPartial) {
    const std::string problem = LoadProblem(outcome);
    if (problem.empty())
        return true;
    if (!allowPartial) {
        Failure(verb, Where(name, outcome) + ": " + problem);
        return false;
    }
    Failure(verb, "warning: " + Where(name, outcome) + ": " + problem +
                      "; going on with what was read (--allow-partial)");
    return true;
}

std::optional<LoadedNotes> LoadForVerb(const std::string& verb, const std::string& path,
                                       bool allowPartial) {
    const Input input = ReadInput(path);
    if (!input.ok) {
        Failure(verb, Printable(input.error));
        return std::nullopt;
    }
    LoadedNotes loaded = LoadLikeEditor(input.bytes, kEditorClient);
    if (!AcceptLoad(verb, input.name, loaded.outcome, allowPartial))
        return std::nullopt;
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
    if (!operands->empty() && operands->front().empty()) {
        UsageError(verb, "FILE is empty; give \"-\" for standard input");
        return std::nullopt;
    }
    return operands->empty() ? std::string("-") : operands->front();
}

int Emit(const std::string& verb, const std::string& path, const Producer& produce) {
    const std::string error = WriteOutput(path, produce);
    return error.empty() ? 0 : Failure(verb, error);
}

int Emit(const std::string& verb, const std::string& path, const std::string& bytes) {
    return Emit(verb, path, [&bytes](OutputStream& out) { out.Write(bytes); });
}

}  // namespace velmora::tool
