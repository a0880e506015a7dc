#pragma once

#include <cstdint>
#include <optional>

class TiXmlElement;

namespace velmora {

// Reads a decimal integer the way "%d" does: leading white space is skipped,
// an optional sign and the digits after it are taken, anything after the
// digits is ignored ("+12" -> 12, "  7" -> 7, "1e3" -> 1). Returns nothing
// when the text does not begin with a number or the number does not fit in
// int32_t. Never reads past the terminating NUL.
std::optional<int32_t> ParseDecimalInt(const char* text);

// True when `text` is a number as ParseDecimalInt reads it with nothing but
// white space after its digits: "3O0", "180.9" and "12px" are not.
bool ReadsAsWritten(const char* text);

// One integer attribute of an element.
struct IntAttribute {
    bool present = false;          // the element has the attribute
    std::optional<int32_t> value;  // its value, when it reads as a number
    const char* text = nullptr;    // the value as written, while the element lives
};

// Looks up `name` on `element` and reads its value with ParseDecimalInt.
IntAttribute ReadIntAttribute(const TiXmlElement& element, const char* name);

}  // namespace velmora
