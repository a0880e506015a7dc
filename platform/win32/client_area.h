#pragma once

#include <cstdint>

#include "platform/win32/win32_api.h"

namespace velmora {

// Resizes `window`, keeping its position, so that its client area is width x
// height pixels whatever the dialog template's units and the system's font
// and frame sizes made it. Returns the client size it has afterwards.
SIZE FitClientArea(HWND window, int32_t width, int32_t height);

}  // namespace velmora
