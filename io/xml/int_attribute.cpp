#include "io/xml/int_attribute.h"

#include <limits>

#include <tinyxml.h>

#include "io/xml/white_space.h"

namespace velmora {

namespace {

// A decimal digit.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Accumulates in int64_t and stops as soon as the magnitude leaves the
// int32_t range, so no digit string can overflow.
std::optional<int32_t> ParseDecimalInt(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    const char* p = text;
    while (IsSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    if (!IsDigit(*p)) {
        return std::nullopt;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : static_cast<int64_t>(std::numeric_limits<int32_t>::max());
    int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

bool ReadsAsWritten(const char* text) {
    if (!ParseDecimalInt(text)) {
        return false;
    }
    const char* p = text;
    while (IsSpace(*p)) {
        ++p;
    }
    if (*p == '+' || *p == '-') {
        ++p;
    }
    while (IsDigit(*p)) {
        ++p;
    }
    while (IsSpace(*p)) {
        ++p;
    }
    return *p == '\0';
}

// Presence and value are told apart so that a missing attribute and a
// malformed one can be treated differently by the reader.
IntAttribute ReadIntAttribute(const TiXmlElement& element, const char* name) {
    IntAttribute result;
    const char* text = element.Attribute(name);
    if (text != nullptr) {
        result.present = true;
        result.text = text;
        result.value = ParseDecimalInt(text);
    }
    return result;
}

}  // namespace velmora
