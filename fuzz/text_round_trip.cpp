#include "fuzz/text_round_trip.h"

#include "io/spline_file.h"
#include "io/xml/read_findings.h"
#include "io/xml/read_limits.h"
#include "io/xml/spline_reader.h"
#include "io/xml/spline_writer.h"
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
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    NoteSet first = DefaultNotes();
    const LoadOutcome read = ReadSplineText(bytes, first);

    // Asking for findings changes nothing of what is read.
    NoteSet observed = DefaultNotes();
    ReadFindings findings;
    const LoadOutcome seen = ReadSplineText(bytes, observed, &findings);
    if (seen.found != read.found || seen.Problem().reason != read.Problem().reason ||
        seen.Problem().line != read.Problem().line ||
        seen.Problem().column != read.Problem().column ||
        seen.StoppedEarly() != read.StoppedEarly() || observed != first)
        return "reading with findings gives another outcome or other notes";

    // A load tells in advance whether the editor's save of what it read (a
    // note left empty given its default spline) is refused.
    NoteSet repaired = first;
    GiveEmptyNotesTheirDefault(repaired, kClient);
    const bool refused =
        !CheckWriteLimits(PrintSplines(repaired, kClient.right, kClient.bottom)).ok();
    if (refused != read.tooLargeToSave)
        return refused ? "the save is refused, but the load gave no warning"
                       : "the load warned of a save that is not refused";

    const std::string saved = PrintSplines(first, kClient.right, kClient.bottom);
    if (!CheckWriteLimits(saved).ok())
        return {};

    NoteSet second = DefaultNotes();
    const LoadOutcome again = ReadSplineText(saved, second);
    if (again.found != LoadStatus::kLoaded)
        return "the saved text cannot be read: " + again.Problem().reason;
    for (int n = 0; n < kNoteCount; ++n) {
        if (first[n] != second[n])
            return "note " + std::to_string(n) + " differs after saving";
    }
    return {};
}

}  // namespace velmora::fuzz
