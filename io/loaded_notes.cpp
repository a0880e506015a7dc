#include "io/loaded_notes.h"

#include <utility>

#include "io/xml/spline_reader.h"

namespace velmora {

LoadOutcome LoadFromRead(ReadOutcome& read, NoteSet& notes) {
    switch (read.found) {
    case ReadStatus::kMissing: return LoadOutcome{};
    case ReadStatus::kNotAFile: return NothingLoaded(LoadStatus::kNotAFile, std::move(read.status));
    case ReadStatus::kFailed: return NothingLoaded(LoadStatus::kUnreadable, std::move(read.status));
    case ReadStatus::kRead: break;
    }
    return ReadSplineText(read.bytes, notes);
}

LoadedNotes LoadLikeEditor(const Rect& client, const std::function<LoadOutcome(NoteSet&)>& read) {
    LoadedNotes loaded;
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
