#pragma once

#include <array>
#include <cstdint>

#include "model/note_set.h"

namespace velmora {

// What the editor holds and a recovery copy keeps: every note's splines, the
// working copy of the current spline (edits not yet stored in its note), the
// current note and each note's current spline.
struct SessionState {
    NoteSet notes;
    Spline working;
    int32_t currentNote = 0;
    std::array<int32_t, kNoteCount> currentSpline{};
};

inline bool operator==(const SessionState& a, const SessionState& b) {
    return a.notes == b.notes && a.working == b.working && a.currentNote == b.currentNote &&
           a.currentSpline == b.currentSpline;
}

// The same, read in place from the editor's members, so that recording a
// command copies nothing that did not change.
struct SessionView {
    const NoteSet& notes;
    const Spline& working;
    int32_t currentNote;
    const std::array<int32_t, kNoteCount>& currentSpline;
};

inline SessionView ViewOf(const SessionState& state) {
    return SessionView{state.notes, state.working, state.currentNote, state.currentSpline};
}

// Whether the editor can show `state`: a current note 0 to 3, a spline in
// every note and each note's current index inside its list.
bool IsShowable(const SessionView& state);

// Bit n set: note n, as a save would write it (the working copy in the
// current spline's place), differs between `a` and `b`. Both must be
// showable.
uint8_t NotesThatDiffer(const SessionView& a, const SessionView& b);

}  // namespace velmora
