#include "recovery/recovery_texts.h"

#include <ctime>

namespace velmora {

namespace {

// "note 0", "note 0 and note 2", "note 0, note 1 and note 3".
std::string NoteList(uint8_t notes) {
    std::string list;
    int left = 0;
    for (int n = 0; n < kNoteCount; ++n)
        left += (notes >> n) & 1;
    for (int n = 0; n < kNoteCount; ++n) {
        if (((notes >> n) & 1) == 0)
            continue;
        list += "note " + std::to_string(n);
        --left;
        list += left > 1 ? ", " : left == 1 ? " and " : "";
    }
    return list;
}

// The local date and time of `time`, as "2024-05-03 at 14:07".
std::string LocalDateAndTime(int64_t time) {
    const std::time_t when = static_cast<std::time_t>(time);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &when) != 0)
#else
    if (localtime_r(&when, &local) == nullptr)
#endif
        return "an unknown date";
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d at %H:%M", &local);
    return text;
}

}  // namespace

std::string RecoveryQuestion(const RecoveryOffer& offer, const std::string& splineFile) {
    const uint32_t changes = offer.meta.changes;
    std::string text = "Velmora ended on " + LocalDateAndTime(offer.meta.time) +
                       " with unsaved changes to " + splineFile + " (" + std::to_string(changes) +
                       (changes == 1 ? " change" : " changes") + " to " +
                       NoteList(offer.meta.unsavedNotes) + ").";
    if (offer.fileChanged) {
        text +=
            " Splines.xml has changed on disk since those edits began (another program, or a "
            "version-control pull); the first save after restoring them keeps that version as a "
            "backup.";
    }
    return text +
           " Restore them? Yes: they come back as unsaved changes; press S to save them. No: they "
           "are discarded.";
}

std::string RecoveryFailureMessage(const Status& why) {
    return "Velmora cannot keep a recovery copy of your unsaved changes: " + why.reason +
           ". Editing goes on, but a crash would lose what is not saved; press S to save.";
}

}  // namespace velmora
