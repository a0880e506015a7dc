#include <gtest/gtest.h>

#include <string>

#include "platform/message.h"
#include "platform/qt/qt_keys.h"
#include "tests/support/case_names.h"

namespace velmora {
namespace {

struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    uint32_t vk;  // 0: not sent
};

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

const KeyCase kKeyCases[] = {
    // Letters, with and without Shift or Ctrl.
    {"S", Qt::Key_S, kNone, 'S'},
    {"ShiftS", Qt::Key_S, Qt::ShiftModifier, 'S'},
    {"CtrlS", Qt::Key_S, Qt::ControlModifier, 'S'},
    {"CtrlShiftA", Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, 'A'},
    {"Z", Qt::Key_Z, kNone, 'Z'},
    {"AltS", Qt::Key_S, Qt::AltModifier, 0},
    // The keypad's operators against the main keyboard's.
    {"KeypadPlus", Qt::Key_Plus, kKeypad, VK_ADD},
    {"MainPlus", Qt::Key_Plus, Qt::ShiftModifier, VK_OEM_PLUS},
    {"MainEqual", Qt::Key_Equal, kNone, VK_OEM_PLUS},
    {"KeypadMinus", Qt::Key_Minus, kKeypad, VK_SUBTRACT},
    {"MainMinus", Qt::Key_Minus, kNone, VK_OEM_MINUS},
    {"KeypadPeriod", Qt::Key_Period, kKeypad, VK_DECIMAL},
    {"KeypadComma", Qt::Key_Comma, kKeypad, VK_DECIMAL},
    {"MainPeriod", Qt::Key_Period, kNone, VK_OEM_PERIOD},
    {"MainComma", Qt::Key_Comma, kNone, VK_OEM_COMMA},
    {"KeypadSlash", Qt::Key_Slash, kKeypad, VK_DIVIDE},
    {"MainSlash", Qt::Key_Slash, kNone, VK_OEM_2},
    {"KeypadAsterisk", Qt::Key_Asterisk, kKeypad, VK_MULTIPLY},
    {"MainAsterisk", Qt::Key_Asterisk, Qt::ShiftModifier, '8'},
    // Digits.
    {"Digit0", Qt::Key_0, kNone, '0'},
    {"Digit9", Qt::Key_9, kNone, '9'},
    {"Keypad0", Qt::Key_0, kKeypad, VK_NUMPAD0},
    {"Keypad7", Qt::Key_7, kKeypad, VK_NUMPAD7},
    {"Keypad9", Qt::Key_9, kKeypad, VK_NUMPAD9},
    // Editing and navigation keys, from either keyboard.
    {"Return", Qt::Key_Return, kNone, VK_RETURN},
    {"KeypadEnter", Qt::Key_Enter, kKeypad, VK_RETURN},
    {"Escape", Qt::Key_Escape, kNone, VK_ESCAPE},
    {"Backspace", Qt::Key_Backspace, kNone, VK_BACK},
    {"Delete", Qt::Key_Delete, kNone, VK_DELETE},
    {"KeypadDelete", Qt::Key_Delete, kKeypad, VK_DELETE},
    {"Insert", Qt::Key_Insert, kNone, VK_INSERT},
    {"Tab", Qt::Key_Tab, kNone, VK_TAB},
    {"ShiftTab", Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
    {"Space", Qt::Key_Space, kNone, VK_SPACE},
    {"Left", Qt::Key_Left, kNone, VK_LEFT},
    {"Up", Qt::Key_Up, kNone, VK_UP},
    {"Right", Qt::Key_Right, kNone, VK_RIGHT},
    {"ShiftRight", Qt::Key_Right, Qt::ShiftModifier, VK_RIGHT},
    {"Down", Qt::Key_Down, kNone, VK_DOWN},
    {"KeypadLeft", Qt::Key_Left, kKeypad, VK_LEFT},
    {"Home", Qt::Key_Home, kNone, VK_HOME},
    {"End", Qt::Key_End, kNone, VK_END},
    {"PageUp", Qt::Key_PageUp, kNone, VK_PRIOR},
    {"PageDown", Qt::Key_PageDown, kNone, VK_NEXT},
    {"F1", Qt::Key_F1, kNone, VK_F1},
    {"F12", Qt::Key_F12, kNone, VK_F12},
    {"Shift", Qt::Key_Shift, Qt::ShiftModifier, VK_SHIFT},
    {"Control", Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
    // Keys the program has no code for.
    {"F13", Qt::Key_F13, kNone, 0},
    {"CapsLock", Qt::Key_CapsLock, kNone, 0},
    {"Eacute", Qt::Key_Eacute, kNone, 0},
    {"Unknown", Qt::Key_unknown, kNone, 0},
};

class KeyTranslation : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTranslation, GivesTheVirtualKey) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(VirtualKeyFromQt(c.key, c.modifiers), c.vk);
}

INSTANTIATE_TEST_SUITE_P(Table, KeyTranslation, ::testing::ValuesIn(kKeyCases),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
