// The messages about the spline file, composed from what a load or a save
// found. Each names the file with its folder and ends with what to do.
#include "io/file_messages.h"

#include <algorithm>
#include <string>

#include "io/disk/file_system.h"
#include "io/xml/read_limits.h"

namespace velmora {

namespace {

// " (line L, column C)" when the place is known.
std::string Place(const LoadOutcome& outcome) {
    if (outcome.Problem().line <= 0) {
        return {};
    }
    return " (line " + std::to_string(outcome.Problem().line) + ", column " +
           std::to_string(outcome.Problem().column) + ")";
}

// What happens to the file on the first save.
std::string BackupPromise(const std::string& backup, const char* what) {
    return std::string("When you save, ") + what + " is first kept as a backup, \"" + backup +
           "\".";
}

// Why S will be refused until the note set shrinks, after `gap`; or "".
std::string TooLargeToSave(const LoadOutcome& outcome, const char* gap) {
    if (!outcome.tooLargeToSave) {
        return {};
    }
    return std::string(gap) + "Saved as it stands, it would hold " +
           std::to_string(outcome.savedNodes) + " XML nodes, more than the " +
           std::to_string(kMaxReadNodes) +
           " the editor reads, so saving is refused: delete some points or splines, then press S.";
}

// The message for a file that was read, in full or in part.
std::string ReadMessage(const LoadOutcome& outcome, const std::string& file,
                        const std::string& path, const std::string& backup) {
    if (outcome.conflicted) {
        return file + " holds conflict markers of an unfinished merge" + Place(outcome) +
               ": git merged it as text and left both versions in it. Only what comes before "
               "the note they are in was read; the default splines are shown for the rest. " +
               BackupPromise(backup, "the whole file") +
               "\n\n(\"velmora-tool git-setup\", run once in every clone, makes git merge "
               "Splines.xml spline by spline.)\n\nResolve the merge in \"" +
               path + "\", then start the editor again.";
    }
    const std::string stopped = outcome.StoppedEarly() ? "reading stopped" + Place(outcome) +
                                                             " at " + outcome.Problem().reason
                                                       : "";
    const std::string restart =
        "\n\nTo work on the whole file instead, close the window without saving, correct \"" +
        path + "\", then start the editor again.";
    if (outcome.noNote) {
        return file + " holds no note that Velmora can read" +
               (stopped.empty() ? "" : ": " + stopped) +
               ".\n\nThe default splines are shown instead. " + BackupPromise(backup, "the file") +
               restart;
    }
    if (outcome.StoppedEarly()) {
        return file + " was read only in part: " + stopped +
               ", and what follows is not shown.\n\n" + BackupPromise(backup, "the whole file") +
               TooLargeToSave(outcome, "\n\n") + restart;
    }
    if (outcome.tooLargeToSave) {
        return file + " was read in full." + TooLargeToSave(outcome, " ");
    }
    return {};
}

// The message for what start-up found, before what a save would meet.
std::string FoundMessage(const LoadOutcome& outcome, const std::string& path,
                         const std::string& backup) {
    const std::string file = "The spline file \"" + path + "\"";
    switch (outcome.found) {
    case LoadStatus::kCreated: return {};
    case LoadStatus::kEmpty:
        // A file that is missing and could not be created (its folder is
        // missing or not writable) fails every save too: say so now.
        if (outcome.Problem().reason.empty()) {
            return {};
        }
        return file + " does not exist and cannot be created:\n" + outcome.Problem().reason +
               ".\n\nThe default splines are shown instead. Make sure its folder exists and "
               "that you may write in it, then press S to save.";
    case LoadStatus::kNotAFile:
        return file + " cannot be read:\n" + outcome.Problem().reason +
               ".\n\nThe default splines are shown instead, and nothing can be saved there. "
               "Move it away or rename it, then press S to save.";
    case LoadStatus::kUnreadable:
        return file + " cannot be read" + Place(outcome) + ":\n" + outcome.Problem().reason +
               "\n\nThe default splines are shown instead. " +
               BackupPromise(backup, "the unreadable file") +
               "\n\nTo keep working on it, close the window without saving, correct \"" + path +
               "\", then start the editor again.";
    case LoadStatus::kLoaded: break;
    }
    return ReadMessage(outcome, file, path, backup);
}

}  // namespace

std::string AbsoluteName(const std::string& path) {
    std::string whole = path;
    if (path.empty() || path[0] != '/') {
        std::string here;
        SystemFileSystem().CurrentFolder(&here);
        whole = here + "/" + path;
    }
    std::string out;
    std::size_t start = 0;
    while (start <= whole.size()) {
        const std::size_t end = std::min(whole.find('/', start), whole.size());
        const std::string part = whole.substr(start, end - start);
        if (!part.empty() && part != ".")
            out += "/" + part;
        start = end + 1;
    }
    return out.empty() ? "/" : out;
}

std::string LoadMessage(const LoadOutcome& outcome, const std::string& path,
                        const std::string& backup) {
    const std::string found = FoundMessage(outcome, path, backup.empty() ? path + ".bak" : backup);
    if (outcome.saving.status.ok()) {
        return found;
    }
    const std::string blocked =
        outcome.saving.status.reason + ". " + outcome.saving.remedy + ", then press S to save.";
    if (found.empty()) {
        return "The spline file \"" + path + "\" cannot be replaced when you save: " + blocked;
    }
    return found + "\n\nSaving will fail: " + blocked;
}

std::string SaveMessage(const SaveOutcome& outcome, const std::string& path,
                        const std::string& backup, const std::string& promised) {
    std::string text;
    if (!outcome.status.ok()) {
        text = "The splines could not be saved to \"" + path + "\":\n" + outcome.status.reason +
               "\n\n" +
               (outcome.hadFile ? "The file on disk is unchanged and your splines"
                                : "Nothing was written; your splines") +
               " are still open here. " + outcome.remedy + ", then press S again.";
    }
    if (outcome.changedElsewhere) {
        text += std::string(text.empty() ? "" : "\n\n") + "Another program changed \"" + path +
                "\" since Velmora last read or saved it. That version is kept as \"" + backup +
                "\"" + (outcome.status.ok() ? "; your splines were saved." : ".") +
                " Compare the two (velmora-tool diff) and bring over what you need.";
    } else if (outcome.status.ok() && !outcome.backup.empty() && !promised.empty() &&
               backup != promised) {
        text = "The file read at start-up is kept as \"" + backup + "\", not as \"" + promised +
               "\" as said then: that name was taken meanwhile. Your splines were saved.";
    }
    return text;
}

}  // namespace velmora
