#pragma once

#include <cstdint>

#include "platform/win32/win32_api.h"

namespace velmora {

// Shows the About box made from dialog template `templateId` of `instance`
// modally over `owner` and returns when OK, Escape or its close button has
// ended it. The template holds everything the box shows.
void RunAboutBoxTemplate(HINSTANCE instance, int32_t templateId, HWND owner);

}  // namespace velmora
