#include "recovery/session_state.h"

#include <cstddef>

namespace velmora {

namespace {

// Spline `index` of `note` as a save writes it.
const Spline& SavedSpline(const SessionView& state, int note, std::size_t index) {
    const bool current =
        note == state.currentNote && index == static_cast<std::size_t>(state.currentSpline[note]);
    return current ? state.working : state.notes[note][index];
}

bool SameSavedNote(const SessionView& a, const SessionView& b, int note) {
    const std::size_t size = a.notes[note].size();
    if (size != b.notes[note].size())
        return false;
    for (std::size_t i = 0; i < size; ++i) {
        if (SavedSpline(a, note, i) != SavedSpline(b, note, i))
            return false;
    }
    return true;
}

}  // namespace

bool IsShowable(const SessionView& state) {
    if (state.currentNote < 0 || state.currentNote >= kNoteCount)
        return false;
    for (int n = 0; n < kNoteCount; ++n) {
        const auto size = static_cast<int64_t>(state.notes[n].size());
        if (state.currentSpline[n] < 0 || state.currentSpline[n] >= size)
            return false;
    }
    return true;
}

uint8_t NotesThatDiffer(const SessionView& a, const SessionView& b) {
    uint8_t notes = 0;
    for (int n = 0; n < kNoteCount; ++n) {
        if (!SameSavedNote(a, b, n))
            notes |= static_cast<uint8_t>(1u << n);
    }
    return notes;
}

}  // namespace velmora
