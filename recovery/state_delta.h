#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "recovery/session_state.h"

namespace velmora {

// A run of a list replaced: the first `front` and the last `back` items
// stay, the ones between them become `middle`.
template <class T>
struct Splice {
    uint32_t front = 0;
    uint32_t back = 0;
    std::vector<T> middle;
};

// How one note's splines changed: a run of whole splines replaced, or, when
// `inSpline` is 0 or more, the points of that one spline.
struct NoteChange {
    uint8_t note = 0;
    int64_t inSpline = -1;
    Splice<Spline> splines;
    Splice<Point> points;
};

// What the working copy is made from.
enum class WorkingBase : uint8_t {
    kUnchanged = 0,
    kPreviousWorking = 1,  // the working copy before, spliced
    kCurrentSpline = 2,    // the new current spline, spliced
};

// How to get from one session state to the next: the indices whole, and of
// the splines and the working copy only what changed, so that a command
// that moves one point records a few bytes whatever the size of the file.
struct StateDelta {
    int32_t currentNote = 0;
    std::array<int32_t, kNoteCount> currentSpline{};
    std::vector<NoteChange> notes;
    WorkingBase workingBase = WorkingBase::kUnchanged;
    Splice<Point> working;
};

// The change from `before` to `after`, which must be showable; `before` may
// also be an empty state (no splines at all), which gives `after` whole.
StateDelta DiffStates(const SessionView& before, const SessionView& after);

// Whether `delta` leaves `before` as it is.
bool ChangesNothing(const StateDelta& delta, const SessionView& before);

// Applies `delta` to `state`. False when it does not fit (a note, spline or
// run that is not there, or a state left unshowable); `state` is then
// undefined, though always a valid object.
bool ApplyDelta(SessionState& state, StateDelta delta);

}  // namespace velmora
