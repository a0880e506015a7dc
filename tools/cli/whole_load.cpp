#include "tools/cli/whole_load.h"

#include "io/loaded_notes.h"
#include "tools/cli/cli_io.h"
#include "tools/verbs.h"

namespace velmora::tool {

std::optional<NoteSet> LoadWholeForVerb(const std::string& verb, const std::string& path,
                                        const std::string& name) {
    const Input input = ReadInput(path);
    const std::string shown = "\"" + Printable(name.empty() ? input.name : name) + "\"";
    if (!input.ok) {
        Failure(verb,
                name.empty() ? Printable(input.error) : shown + ": " + Printable(input.error));
        return std::nullopt;
    }
    LoadedNotes loaded = LoadLikeEditor(input.bytes, kEditorClient);
    const LoadOutcome& outcome = loaded.outcome;
    const bool unreadable =
        outcome.status == LoadStatus::kUnreadable || outcome.status == LoadStatus::kNotAFile;
    if (!unreadable && !outcome.stoppedEarly)
        return std::move(loaded.notes);
    std::string where = shown;
    if (outcome.line > 0) {
        where +=
            ", line " + std::to_string(outcome.line) + ", column " + std::to_string(outcome.column);
    }
    const char* const what = unreadable ? ": the editor cannot read it: "
                             : outcome.conflicted
                                 ? ": it holds "
                                 : ": the editor reads only part of it, and stops here: ";
    Failure(verb, where + what + Printable(outcome.reason) +
                      (outcome.conflicted ? "; finish the merge first" : ""));
    return std::nullopt;
}

}  // namespace velmora::tool
