#include "platform/qt/qt_keys.h"

#include "platform/message.h"

namespace velmora {

namespace {

// A Qt key and the virtual key it stands for.
struct KeyPair {
    int qtKey;
    uint32_t vk;
};

// Keys whose code does not depend on the keypad modifier. Keypad Enter,
// and with Num Lock off the keypad's arrows, Home, Insert, Delete and so on,
// are the same keys as their main-keyboard twins.
constexpr KeyPair kCommonKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};

// Keypad keys that have a twin on the main keyboard.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},      {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

// The main keyboard's punctuation and the shifted digit row (as on a US
// layout, which is what the virtual-key codes describe).
constexpr KeyPair kMainKeys[] = {
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
};

// The virtual key of `key` in `table`, or 0.
template <size_t N>
uint32_t Find(const KeyPair (&table)[N], int key) {
    for (const KeyPair& pair : table) {
        if (pair.qtKey == key) {
            return pair.vk;
        }
    }
    return 0;
}

}  // namespace

// Letters and digits first (their Qt codes are their ASCII codes), then the
// tables.
uint32_t VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::AltModifier)) {
        return 0;
    }
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<uint32_t>(key);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const uint32_t digit = static_cast<uint32_t>(key - Qt::Key_0);
        return keypad ? VK_NUMPAD0 + digit : '0' + digit;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return VK_F1 + static_cast<uint32_t>(key - Qt::Key_F1);
    }
    if (const uint32_t vk = Find(kCommonKeys, key)) {
        return vk;
    }
    return keypad ? Find(kKeypadKeys, key) : Find(kMainKeys, key);
}

}  // namespace velmora
