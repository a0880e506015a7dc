#pragma once

#include <cstdint>

#include "model/geometry.h"

namespace velmora {

// One window message as a host hands it to a dialog: the identifier, its
// first parameter (key code, key-state flags or system command) and, for
// mouse messages, the mouse position in client pixels.
struct Message {
    uint32_t message = 0;
    uint32_t wParam = 0;
    Point point;
};

// Message identifiers. The numbers are the Win32 ones, so a key or command
// code reads the same here as in any Win32 reference.
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_QUERYDRAGICON = 0x0037;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;

// Key-state flag of mouse messages: the left button is down.
constexpr uint32_t MK_LBUTTON = 0x0001;

// System commands (wParam of WM_SYSCOMMAND; compare after masking with 0xFFF0).
constexpr uint32_t SC_MOVE = 0xF010;
constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_KEYMENU = 0xF100;

// Dialog end codes.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Virtual-key codes (wParam of WM_KEYDOWN). Letters and digits use their
// upper-case ASCII codes: 'A'..'Z' are 0x41..0x5A, '0'..'9' are 0x30..0x39.
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_NUMPAD0 = 0x60;
constexpr uint32_t VK_NUMPAD1 = 0x61;
constexpr uint32_t VK_NUMPAD2 = 0x62;
constexpr uint32_t VK_NUMPAD3 = 0x63;
constexpr uint32_t VK_NUMPAD4 = 0x64;
constexpr uint32_t VK_NUMPAD5 = 0x65;
constexpr uint32_t VK_NUMPAD6 = 0x66;
constexpr uint32_t VK_NUMPAD7 = 0x67;
constexpr uint32_t VK_NUMPAD8 = 0x68;
constexpr uint32_t VK_NUMPAD9 = 0x69;
constexpr uint32_t VK_MULTIPLY = 0x6A;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_DECIMAL = 0x6E;
constexpr uint32_t VK_DIVIDE = 0x6F;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F2 = 0x71;
constexpr uint32_t VK_F3 = 0x72;
constexpr uint32_t VK_F4 = 0x73;
constexpr uint32_t VK_F5 = 0x74;
constexpr uint32_t VK_F6 = 0x75;
constexpr uint32_t VK_F7 = 0x76;
constexpr uint32_t VK_F8 = 0x77;
constexpr uint32_t VK_F9 = 0x78;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_F11 = 0x7A;
constexpr uint32_t VK_F12 = 0x7B;
constexpr uint32_t VK_OEM_PLUS = 0xBB;
constexpr uint32_t VK_OEM_COMMA = 0xBC;
constexpr uint32_t VK_OEM_MINUS = 0xBD;
constexpr uint32_t VK_OEM_PERIOD = 0xBE;
constexpr uint32_t VK_OEM_2 = 0xBF;  // the '/' key of the main keyboard

}  // namespace velmora
