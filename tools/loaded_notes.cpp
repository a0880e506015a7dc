#include "tools/loaded_notes.h"

#include "io/spline_reader.h"

namespace velmora::tool {

// Notes start empty rather than with their default spline: the reader only
// replaces the notes the file names, so the repair afterwards gives every
// other note the same default spline the editor shows.
LoadedNotes LoadLikeEditor(const std::string& bytes, ReadFindings* findings) {
    LoadedNotes loaded;
    loaded.outcome = ReadSplineText(bytes, loaded.notes, findings);
    GiveEmptyNotesTheirDefault(loaded.notes, kEditorClient);
    return loaded;
}

}  // namespace velmora::tool
