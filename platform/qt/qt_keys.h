#pragma once

#include <cstdint>

#include <QtCore/Qt>

namespace velmora {

// The virtual-key code (VK_* of platform/message.h) of a Qt key press, or 0
// when the key has none the program knows. Keys of the numeric keypad are
// told apart through Qt::KeypadModifier. Shift, Ctrl and Meta do not change
// the code: Shift+S and Ctrl+S are both 'S', and the shifted symbols of the
// main keyboard's digit row give the digit ('*' is '8'). A key held with Alt
// gives 0, as such presses are system keys rather than key-down commands.
uint32_t VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);

}  // namespace velmora
