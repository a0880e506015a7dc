#pragma once

#include <string>

namespace velmora {

// Asks for a folder with the system's folder picker, opened at `initial`
// when that is a folder; the folder's full name, or "" when cancelled.
std::wstring ChooseFolder(const std::wstring& initial);

}  // namespace velmora
