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

// The editor's load, without creating a missing file.
LoadOutcome Load(const std::string& path, NoteSet& notes, bool& missing) {
    ReadOutcome read = ReadWholeFile(path);
    missing = read.status == ReadStatus::kMissing;
    switch (read.status) {
    case ReadStatus::kMissing: return LoadOutcome{};
    case ReadStatus::kNotAFile: return LoadOutcome{LoadStatus::kNotAFile, std::move(read.reason)};
    case ReadStatus::kFailed: return LoadOutcome{LoadStatus::kUnreadable, std::move(read.reason)};
    case ReadStatus::kRead: break;
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
    GiveEmptyNotesTheirDefault(contents.notes, kEditorClient);
    switch (outcome.status) {
    case LoadStatus::kLoaded: contents.status = SplineFileStatus::kLoaded; break;
    case LoadStatus::kCreated:
    case LoadStatus::kEmpty:
        contents.status = missing ? SplineFileStatus::kMissing : SplineFileStatus::kEmpty;
        break;
    case LoadStatus::kUnreadable:
    case LoadStatus::kNotAFile: contents.status = SplineFileStatus::kUnreadable; break;
    }
    contents.message = LoadMessage(outcome, path);
    contents.reason = outcome.reason;
    contents.line = outcome.line;
    contents.column = outcome.column;
    return contents;
}

}  // namespace velmora
