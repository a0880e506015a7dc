#include "recovery/state_delta.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <utility>

namespace velmora {

namespace {

// Keeps the longest common start, then the longest common end of what is
// left, of `before` and `after`.
template <class T>
Splice<T> DiffLists(const std::vector<T>& before, const std::vector<T>& after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t front = 0;
    while (front < shorter && before[front] == after[front])
        ++front;
    std::size_t back = 0;
    while (back < shorter - front &&
           before[before.size() - 1 - back] == after[after.size() - 1 - back])
        ++back;
    Splice<T> splice;
    splice.front = static_cast<uint32_t>(front);
    splice.back = static_cast<uint32_t>(back);
    splice.middle.assign(after.begin() + static_cast<std::ptrdiff_t>(front),
                         after.end() - static_cast<std::ptrdiff_t>(back));
    return splice;
}

template <class T>
bool ApplySplice(std::vector<T>& list, Splice<T>&& splice) {
    const std::size_t kept = std::size_t{splice.front} + splice.back;
    if (kept > list.size())
        return false;
    const auto first = list.begin() + splice.front;
    const auto last = list.end() - splice.back;
    const auto overlap = std::min<std::ptrdiff_t>(
        std::distance(first, last), static_cast<std::ptrdiff_t>(splice.middle.size()));
    // Moves over the items it replaces, then erases or inserts the rest.
    std::move(splice.middle.begin(), splice.middle.begin() + overlap, first);
    const auto afterMoved = first + overlap;
    if (afterMoved != last) {
        list.erase(afterMoved, last);
    } else {
        list.insert(afterMoved, std::make_move_iterator(splice.middle.begin() + overlap),
                    std::make_move_iterator(splice.middle.end()));
    }
    return true;
}

// The change of one note, or none when its splines are the same.
std::optional<NoteChange> DiffNote(int note, const SplineList& before, const SplineList& after) {
    NoteChange change;
    change.note = static_cast<uint8_t>(note);
    change.splines = DiffLists(before, after);
    if (before.size() == after.size() && change.splines.front == after.size())
        return std::nullopt;
    // One spline changed in place: its points alone, so that moving one point
    // of a long spline records that point.
    const std::size_t kept = std::size_t{change.splines.front} + change.splines.back;
    if (before.size() == after.size() && before.size() == kept + 1) {
        change.inSpline = change.splines.front;
        change.points = DiffLists(before[change.splines.front], after[change.splines.front]);
        change.splines = {};
    }
    return change;
}

bool ApplyNoteChange(SessionState& state, NoteChange&& change) {
    if (change.note >= kNoteCount)
        return false;
    SplineList& list = state.notes[change.note];
    if (change.inSpline < 0)
        return ApplySplice(list, std::move(change.splines));
    if (change.inSpline >= static_cast<int64_t>(list.size()))
        return false;
    return ApplySplice(list[static_cast<std::size_t>(change.inSpline)], std::move(change.points));
}

}  // namespace

StateDelta DiffStates(const SessionView& before, const SessionView& after) {
    StateDelta delta;
    delta.currentNote = after.currentNote;
    delta.currentSpline = after.currentSpline;
    for (int n = 0; n < kNoteCount; ++n) {
        if (std::optional<NoteChange> change = DiffNote(n, before.notes[n], after.notes[n]))
            delta.notes.push_back(std::move(*change));
    }
    if (before.working == after.working)
        return delta;
    // Whichever needs fewer points: after a move to another spline the
    // working copy is that spline, after an edit the one before, changed.
    const Spline& current = after.notes[after.currentNote][after.currentSpline[after.currentNote]];
    Splice<Point> fromCurrent = DiffLists(current, after.working);
    Splice<Point> fromPrevious = DiffLists(before.working, after.working);
    if (fromCurrent.middle.size() <= fromPrevious.middle.size()) {
        delta.workingBase = WorkingBase::kCurrentSpline;
        delta.working = std::move(fromCurrent);
    } else {
        delta.workingBase = WorkingBase::kPreviousWorking;
        delta.working = std::move(fromPrevious);
    }
    return delta;
}

bool ChangesNothing(const StateDelta& delta, const SessionView& before) {
    return delta.notes.empty() && delta.workingBase == WorkingBase::kUnchanged &&
           delta.currentNote == before.currentNote && delta.currentSpline == before.currentSpline;
}

bool ApplyDelta(SessionState& state, StateDelta delta) {
    for (NoteChange& change : delta.notes) {
        if (!ApplyNoteChange(state, std::move(change)))
            return false;
    }
    state.currentNote = delta.currentNote;
    state.currentSpline = delta.currentSpline;
    if (!IsShowable(ViewOf(state)))
        return false;
    switch (delta.workingBase) {
    case WorkingBase::kUnchanged: return true;
    case WorkingBase::kPreviousWorking: break;
    case WorkingBase::kCurrentSpline:
        state.working = state.notes[state.currentNote][state.currentSpline[state.currentNote]];
        break;
    }
    return ApplySplice(state.working, std::move(delta.working));
}

}  // namespace velmora
