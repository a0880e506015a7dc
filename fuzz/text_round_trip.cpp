#include "fuzz/text_round_trip.h"

#include "io/read_limits.h"
#include "io/spline_file.h"
#include "io/spline_reader.h"
#include "model/note_set.h"

namespace velmora::fuzz {

namespace {

constexpr Rect kClient{0, 0, 480, 360};

NoteSet DefaultNotes() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        notes[n] = SplineList{DefaultSpline(kClient, kDesignTargets[n])};
    }
    return notes;
}

}  // namespace

std::string CheckTextRoundTrip(const uint8_t* data, size_t size) {
    NoteSet first = DefaultNotes();
    ReadSplineText(std::string(reinterpret_cast<const char*>(data), size), first);

    const std::string saved = PrintSplines(first, kClient.right, kClient.bottom);
    if (!CheckWriteLimits(saved).empty())
        return {};

    NoteSet second = DefaultNotes();
    const LoadOutcome again = ReadSplineText(saved, second);
    if (again.status != LoadStatus::kLoaded)
        return "the saved text cannot be read: " + again.reason;
    for (int n = 0; n < kNoteCount; ++n) {
        if (first[n] != second[n])
            return "note " + std::to_string(n) + " differs after saving";
    }
    return {};
}

}  // namespace velmora::fuzz
