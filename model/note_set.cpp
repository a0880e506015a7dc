#include "model/note_set.h"

#include <algorithm>
#include <limits>

namespace velmora {

int64_t DesignAxisToClient(int32_t design, int32_t span, int32_t extent) {
    const float fraction = static_cast<float>(design / static_cast<double>(span));
    const float client = static_cast<float>(extent * static_cast<double>(fraction));
    // |client| stays below 2^31 * 2^31 / span, far inside the int64_t range.
    return static_cast<int64_t>(client);
}

namespace {

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

Point DesignToClient(const Rect& client, int32_t x, int32_t y) {
    return Point{Saturate(DesignAxisToClient(x, kDesignWidth, client.right)),
                 Saturate(DesignAxisToClient(y, kDesignHeight, client.bottom))};
}

ClientTargets MapTargets(const Rect& client, const std::array<Point, kNoteCount>& designTargets) {
    ClientTargets mapped{DesignToClient(client, kDesignOrigin.x, kDesignOrigin.y), {}};
    for (std::size_t n = 0; n < designTargets.size(); ++n) {
        mapped.targets[n] = DesignToClient(client, designTargets[n].x, designTargets[n].y);
    }
    return mapped;
}

Spline DefaultSpline(const Rect& client, Point designTarget) {
    return Spline{DesignToClient(client, kDesignOrigin.x, kDesignOrigin.y),
                  DesignToClient(client, designTarget.x, designTarget.y)};
}

void GiveEmptyNotesTheirDefault(NoteSet& notes, const Rect& client) {
    for (std::size_t n = 0; n < notes.size(); ++n) {
        if (notes[n].empty())
            notes[n].push_back(DefaultSpline(client, kDesignTargets[n]));
    }
}

}  // namespace velmora
