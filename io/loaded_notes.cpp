#include "io/loaded_notes.h"

#include "io/xml/spline_reader.h"

namespace velmora {

LoadedNotes LoadLikeEditor(const Rect& client, const std::function<LoadOutcome(NoteSet&)>& read) {
    LoadedNotes loaded;
    GiveEmptyNotesTheirDefault(loaded.notes, client);
    loaded.outcome = read(loaded.notes);
    GiveEmptyNotesTheirDefault(loaded.notes, client);
    return loaded;
}

LoadedNotes LoadLikeEditor(const std::string& bytes, const Rect& client, ReadFindings* findings) {
    return LoadLikeEditor(client,
                          [&](NoteSet& notes) { return ReadSplineText(bytes, notes, findings); });
}

LoadedNotes LoadLikeEditor(SplineFile& file, const Rect& client) {
    LoadedNotes loaded = LoadLikeEditor(client, [&](NoteSet& notes) { return file.Load(notes); });
    file.MatchLoaded(loaded.notes, client.right, client.bottom);
    return loaded;
}

}  // namespace velmora
