#include "platform/win32/wide_utf8.h"

#include <climits>

namespace velmora {

// Longer texts than an int can count are cut rather than sent with a
// wrapped-around length.
std::wstring WideFromUtf8(const std::string& text) {
    const int length = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
    if (length == 0) {
        return std::wstring();
    }
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
    return wide;
}

}  // namespace velmora
