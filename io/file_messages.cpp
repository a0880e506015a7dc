// The messages about the spline file, composed from what a load or a save
// found. They name the file as the user gave it.
#include "io/file_messages.h"

#include <string>

#include "io/read_limits.h"

namespace velmora {

namespace {

// " (line L, column C)" when the place is known.
std::string Place(const LoadOutcome& outcome) {
    if (outcome.line <= 0) {
        return {};
    }
    return " (line " + std::to_string(outcome.line) + ", column " + std::to_string(outcome.column) +
           ")";
}

// What happens to the file on the first save.
std::string BackupPromise(const std::string& path, const char* what) {
    return std::string("When you save, ") + what + " is first kept as a backup, \"" + path +
           ".bak\" (or, when there are backups, the number after the highest: \"" + path +
           ".bak.1\" and so on).";
}

// Why S will be refused until the note set shrinks, after `gap`; or "".
std::string TooLargeToSave(const LoadOutcome& outcome, const char* gap) {
    if (!outcome.tooLargeToSave) {
        return {};
    }
    return std::string(gap) + "Saved as it stands, it would hold " +
           std::to_string(outcome.savedNodes) + " XML nodes, more than the " +
           std::to_string(kMaxReadNodes) +
           " the editor reads, so saving is refused until some points or splines are deleted.";
}

}  // namespace

std::string LoadMessage(const LoadOutcome& outcome, const std::string& path) {
    const std::string file = "The spline file \"" + path + "\"";
    switch (outcome.status) {
    case LoadStatus::kCreated: return {};
    case LoadStatus::kEmpty:
        // A file that is missing and could not be created (its folder is
        // missing or not writable) fails every save too: say so now.
        if (outcome.reason.empty()) {
            return {};
        }
        return file + " does not exist and cannot be created:\n" + outcome.reason +
               ".\n\nThe default splines are shown instead. Saving fails until the file "
               "can be created there.";
    case LoadStatus::kNotAFile:
        return file + " cannot be read:\n" + outcome.reason +
               ".\n\nThe default splines are shown instead. Saving there is impossible "
               "until it is moved or renamed.";
    case LoadStatus::kUnreadable:
        return file + " cannot be read" + Place(outcome) + ":\n" + outcome.reason +
               "\n\nThe default splines are shown instead. " +
               BackupPromise(path, "the unreadable file");
    case LoadStatus::kLoaded: break;
    }
    const std::string stopped =
        outcome.stoppedEarly ? "reading stopped" + Place(outcome) + " at " + outcome.reason : "";
    if (outcome.noNote) {
        return file + " holds no note that Velmora can read" +
               (stopped.empty() ? "" : ": " + stopped) +
               ".\n\nThe default splines are shown instead. " + BackupPromise(path, "the file");
    }
    if (outcome.stoppedEarly) {
        return file + " was read only in part: " + stopped +
               ", and what follows is not shown.\n\n" + BackupPromise(path, "the whole file") +
               TooLargeToSave(outcome, "\n\n");
    }
    if (outcome.tooLargeToSave) {
        return file + " was read in full." + TooLargeToSave(outcome, " ");
    }
    return {};
}

std::string SaveMessage(const SaveOutcome& outcome, const std::string& path) {
    std::string text;
    if (!outcome.ok) {
        text = "The splines could not be saved to \"" + path + "\":\n" + outcome.reason + "\n\n" +
               (outcome.hadFile ? "The file on disk is unchanged and your splines"
                                : "Nothing was written; your splines") +
               " are still open here.";
    }
    if (outcome.changedElsewhere) {
        text += std::string(text.empty() ? "" : "\n\n") + "Another program changed \"" + path +
                "\" since Velmora last read or saved it. That version is kept as \"" +
                outcome.backup + "\"" + (outcome.ok ? "; your splines were saved." : ".");
    }
    return text;
}

}  // namespace velmora
