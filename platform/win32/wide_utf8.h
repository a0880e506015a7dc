#pragma once

#include <string>

#include "platform/win32/win32_api.h"

namespace velmora {

// `text`, UTF-8 as every text of the program is (file names included), as
// the UTF-16 the wide Win32 calls take; a byte that is no UTF-8 becomes
// U+FFFD.
std::wstring WideFromUtf8(const std::string& text);

}  // namespace velmora
