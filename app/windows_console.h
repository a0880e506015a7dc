#pragma once

#include <string>

namespace velmora {

// Writes `text` where whoever started the program sees it: the standard
// output (or error) it was given, a file, a pipe or a console; else the
// console of the program that started it (a command prompt); else, started
// from the Start menu or Explorer, a message box.
void TellUser(const std::wstring& text, bool error);

}  // namespace velmora
