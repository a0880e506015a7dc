// The installed spline file reader: the editor's start-up load, minus the
// creation of a missing file, from disk or from memory. It is kept to this
// one file so that it follows the file layer's interface in one place.
#include <string>
#include <utility>

#include "io/disk/file_read.h"
#include "io/file_messages.h"
#include "io/loaded_notes.h"
#include "io/spline_file.h"
#include "io/xml/spline_reader.h"
#include "library/float_environment.h"
#include "library/spline_file_contents.h"
#include "library/valid_utf8.h"
#include "model/note_set.h"
#include "velmora/splinefile.hpp"

namespace velmora {

namespace {

// The name the message gives bytes read from memory.
constexpr const char* kMemoryFileName = "Splines.xml";

// The editor's load, without creating a missing file.
LoadOutcome Load(const std::string& path, NoteSet& notes, bool& missing) {
    ReadOutcome read = ReadWholeFile(path);
    missing = read.found == ReadStatus::kMissing;
    return LoadFromRead(read, notes);
}

// The same load from memory, with the limit a file on disk has.
LoadOutcome Parse(const char* bytes, size_t size, NoteSet& notes) {
    if (bytes == nullptr && size > 0)
        return NothingLoaded(LoadStatus::kUnreadable,
                             Failed("no bytes were given (a null pointer)"));
    if (size > kMaxSplineFileBytes) {
        return NothingLoaded(LoadStatus::kUnreadable, Failed("it is " + LargerThanTheLimit()));
    }
    return ReadSplineText(size == 0 ? std::string() : std::string(bytes, size), notes);
}

SplineFileStatus StatusOf(const LoadOutcome& outcome, bool missing) {
    switch (outcome.found) {
    case LoadStatus::kLoaded:
        return outcome.StoppedEarly() ? SplineFileStatus::kPartial : SplineFileStatus::kLoaded;
    case LoadStatus::kCreated:
    case LoadStatus::kEmpty: return missing ? SplineFileStatus::kMissing : SplineFileStatus::kEmpty;
    case LoadStatus::kUnreadable:
    case LoadStatus::kNotAFile: break;
    }
    return SplineFileStatus::kUnreadable;
}

// The editor's start-up load with `load` reading the file, which messages
// name `name` (with the backup the editor would keep of it beside it).
template <class LoadInto>
SplineFileContents Contents(const std::string& name, LoadInto load) {
    const detail::DefaultFloatEnvironment environment;
    SplineFileContents contents;
    bool missing = false;
    LoadedNotes loaded =
        LoadLikeEditor(kEditorClient, [&](NoteSet& notes) { return load(notes, missing); });
    const LoadOutcome& outcome = loaded.outcome;
    contents.notes = std::move(loaded.notes);
    contents.status = StatusOf(outcome, missing);
    contents.message = LoadMessage(outcome, name);
    if (contents.status == SplineFileStatus::kMissing) {
        // A mistyped path must not pass for a file without splines.
        contents.reason = detail::ValidUtf8("there is no file \"" + name +
                                            "\"; every note has its default spline");
    }
    const bool told = contents.status == SplineFileStatus::kUnreadable ||
                      contents.status == SplineFileStatus::kPartial;
    if (told) {
        contents.reason = detail::ValidUtf8(outcome.Problem().reason);
        contents.line = outcome.Problem().line;
        contents.column = outcome.Problem().column;
    }
    return contents;
}

}  // namespace

SplineFileContents ReadSplineFile(const std::string& path) {
    return Contents(path,
                    [&](NoteSet& notes, bool& missing) { return Load(path, notes, missing); });
}

SplineFileContents ParseSplineFile(const char* bytes, size_t size) {
    return Contents(kMemoryFileName,
                    [&](NoteSet& notes, bool&) { return Parse(bytes, size, notes); });
}

SplineFileContents detail::UnreadableSplineFile(const std::string& name,
                                                const std::string& reason) {
    return Contents(name, [&](NoteSet&, bool&) {
        return NothingLoaded(LoadStatus::kUnreadable, Failed(reason));
    });
}

}  // namespace velmora
