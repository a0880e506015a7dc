// Where the editor puts its stars, mapped from the design space exactly as
// the editor maps them at start-up, so a game places things on the same
// pixels.
#include "library/float_environment.h"
#include "model/note_set.h"
#include "velmora/splinefile.h"
#include "velmora/splinefile.hpp"

static_assert(VELMORA_EDITOR_CLIENT_WIDTH == velmora::kEditorClientWidth &&
                  VELMORA_EDITOR_CLIENT_HEIGHT == velmora::kEditorClientHeight,
              "the C and C++ client sizes must agree");

namespace velmora {

namespace {

// The mapping rounds through float, so it runs in the default environment
// whatever the caller's.
ClientTargets EditorStars() {
    const detail::DefaultFloatEnvironment environment;
    return MapTargets(kEditorClient, kDesignTargets);
}

}  // namespace

Point EditorOrigin() { return EditorStars().origin; }

std::array<Point, 4> EditorTargets() { return EditorStars().targets; }

}  // namespace velmora

void velmora_editor_origin(int32_t* x, int32_t* y) {
    const velmora::Point origin = velmora::EditorOrigin();
    if (x != nullptr)
        *x = origin.x;
    if (y != nullptr)
        *y = origin.y;
}

int velmora_editor_target(int note, int32_t* x, int32_t* y) {
    if (note < 0 || note >= velmora::kNoteCount)
        return 0;
    const velmora::Point target = velmora::EditorTargets()[static_cast<size_t>(note)];
    if (x != nullptr)
        *x = target.x;
    if (y != nullptr)
        *y = target.y;
    return 1;
}
