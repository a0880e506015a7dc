#pragma once

#include <string>

#include "platform/win32/win32_api.h"

namespace velmora {

// `text` in the system's 8-bit code page (the one the rest of the program's
// messages are in) as the UTF-16 the wide Win32 calls take.
std::wstring WideFromSystemText(const std::string& text);

}  // namespace velmora
