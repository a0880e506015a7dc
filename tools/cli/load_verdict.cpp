#include "tools/cli/load_verdict.h"

#include "tools/cli/cli_io.h"
#include "tools/cli/verb_support.h"

namespace velmora::tool {

namespace {

// The words of a refusal differ only for a file read in part: diff and merge
// name the place where the editor stops, the other verbs what was not read.
enum class Wording { kVerb, kWhole };

// "\"FILE\", line L, column C" where the place is known.
std::string Where(const std::string& shown, const LoadOutcome& outcome) {
    std::string where = "\"" + Printable(shown) + "\"";
    if (outcome.Problem().line > 0) {
        where += ", line " + std::to_string(outcome.Problem().line) + ", column " +
                 std::to_string(outcome.Problem().column);
    }
    return where;
}

// Why a verb refuses the load, or "" when the file was read in full (or was
// the normal empty case).
std::string LoadProblem(const LoadOutcome& outcome, Wording wording) {
    if (outcome.found == LoadStatus::kUnreadable || outcome.found == LoadStatus::kNotAFile)
        return "the editor cannot read it: " + Printable(outcome.Problem().reason);
    if (outcome.found != LoadStatus::kLoaded)
        return std::string();
    if (outcome.conflicted)
        return "it holds " + Printable(outcome.Problem().reason) + "; finish the merge first";
    if (outcome.StoppedEarly() && wording == Wording::kWhole)
        return "the editor reads only part of it, and stops here: " +
               Printable(outcome.Problem().reason);
    const std::string stopped = "reading stopped at " + Printable(outcome.Problem().reason);
    if (outcome.noNote)
        return "it holds no note the editor can read" +
               (outcome.StoppedEarly() ? "; " + stopped : "");
    if (outcome.StoppedEarly())
        return "read only in part: " + stopped + "; what follows was not read";
    return std::string();
}

}  // namespace

bool AcceptLoad(const std::string& verb, const std::string& name, const LoadOutcome& outcome,
                bool allowPartial) {
    const std::string problem = LoadProblem(outcome, Wording::kVerb);
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

std::optional<NoteSet> LoadWholeForVerb(const std::string& verb, const std::string& path,
                                        const std::string& name) {
    const Input input = ReadInput(path);
    const std::string shown = name.empty() ? input.name : name;
    if (!input.ok) {
        Failure(verb, name.empty() ? Printable(input.error)
                                   : "\"" + Printable(shown) + "\": " + Printable(input.error));
        return std::nullopt;
    }
    LoadedNotes loaded = LoadLikeEditor(input.bytes, kEditorClient);
    const std::string problem = LoadProblem(loaded.outcome, Wording::kWhole);
    if (problem.empty())
        return std::move(loaded.notes);
    Failure(verb, Where(shown, loaded.outcome) + ": " + problem);
    return std::nullopt;
}

}  // namespace velmora::tool
