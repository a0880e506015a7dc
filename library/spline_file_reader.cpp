// The installed spline file reader: the editor's start-up load, minus the
// creation of a missing file. It is kept to this one file so that it follows
// the file layer's interface in one place.
#include <string>
#include <utility>

#include "io/file_read.h"
#include "io/spline_file.h"
#include "io/spline_reader.h"
#include "library/float_environment.h"
#include "model/note_set.h"
#include "velmora/splinefile.hpp"

namespace velmora {

namespace {

constexpr Rect kEditorClient{0, 0, kEditorClientWidth, kEditorClientHeight};

// The editor's start-up warning for a file it cannot read.
std::string UnreadableMessage(const std::string& path, const LoadOutcome& outcome) {
    std::string text = "The spline file \"" + path + "\" cannot be read";
    if (outcome.line > 0) {
        text += " (line " + std::to_string(outcome.line) + ", column " +
                std::to_string(outcome.column) + ")";
    }
    return text + ":\n" + outcome.reason +
           "\n\nThe default splines are shown instead. When you save, the unreadable file is "
           "kept as \"" + path + ".bak\".";
}

// The editor's load, without creating a missing file.
LoadOutcome Load(const std::string& path, NoteSet& notes, bool& missing) {
    ReadOutcome read = ReadWholeFile(path);
    missing = read.status == ReadStatus::kMissing;
    if (missing) return LoadOutcome{LoadStatus::kEmpty, {}, 0, 0};
    if (read.status == ReadStatus::kFailed) {
        return LoadOutcome{LoadStatus::kUnreadable, std::move(read.reason), 0, 0};
    }
    return ReadSplineText(read.bytes, notes);
}

}  // namespace

// Default splines first, then the file, then the repair of notes the file
// left without splines: the order of the editor's start-up.
SplineFileContents ReadSplineFile(const std::string& path) {
    const detail::DefaultFloatEnvironment environment;
    SplineFileContents contents;
    for (size_t n = 0; n < contents.notes.size(); ++n) {
        contents.notes[n].push_back(DefaultSpline(kEditorClient, kDesignTargets[n]));
    }
    bool missing = false;
    const LoadOutcome outcome = Load(path, contents.notes, missing);
    for (size_t n = 0; n < contents.notes.size(); ++n) {
        if (contents.notes[n].empty()) {
            contents.notes[n].push_back(DefaultSpline(kEditorClient, kDesignTargets[n]));
        }
    }
    switch (outcome.status) {
        case LoadStatus::kLoaded: contents.status = SplineFileStatus::kLoaded; break;
        case LoadStatus::kCreated:
        case LoadStatus::kEmpty:
            contents.status = missing ? SplineFileStatus::kMissing : SplineFileStatus::kEmpty;
            break;
        case LoadStatus::kUnreadable:
            contents.status = SplineFileStatus::kUnreadable;
            contents.message = UnreadableMessage(path, outcome);
            break;
    }
    contents.reason = outcome.reason;
    contents.line = outcome.line;
    contents.column = outcome.column;
    return contents;
}

}  // namespace velmora
