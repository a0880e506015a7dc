#pragma once
// The spline file as a parsed document, built element by element with the
// XML library: what PrintSplines writes straight into text must print the
// same, and a load of it is the baseline of the reader's benchmarks.

#include <tinyxml.h>

#include <charconv>
#include <cstdint>
#include <memory>

#include "model/note_set.h"

namespace velmora::testing_support {

// 43 characters and a line feed; the parser turns it into the declaration
// node, which prints with a blank before "?>".
inline constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";

// Sets an integer attribute in "%d" form. std::to_chars writes the same
// digits as the library's own integer setter without going through printf.
inline void SetIntAttribute(TiXmlElement& element, const char* name, int32_t value) {
    char digits[16];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits - 1, value);
    *end.ptr = '\0';
    element.SetAttribute(name, digits);
}

// Hands a finished element to its parent. Linking moves ownership instead of
// copying the subtree; the printed text is the same.
inline void Append(TiXmlNode& parent, std::unique_ptr<TiXmlElement> child) {
    parent.LinkEndChild(child.release());
}

// One NewNoteSpline element with all its splines and points.
inline std::unique_ptr<TiXmlElement> BuildNote(int index, const SplineList& splines) {
    auto item = std::make_unique<TiXmlElement>("NewNoteSpline");
    SetIntAttribute(*item, "Index", index);
    for (const Spline& spline : splines) {
        auto splineItem = std::make_unique<TiXmlElement>("NewSpline");
        for (const Point& thePoint : spline) {
            auto controlPointItem = std::make_unique<TiXmlElement>("ControlPoint");
            SetIntAttribute(*controlPointItem, "PosX", thePoint.x);
            SetIntAttribute(*controlPointItem, "PosY", thePoint.y);
            Append(*splineItem, std::move(controlPointItem));
        }
        Append(*item, std::move(splineItem));
    }
    return item;
}

// Builds each element whole before linking it to its parent.
inline void BuildSplineDocument(TiXmlDocument& doc, const NoteSet& notes, int32_t width,
                                int32_t height) {
    doc.Parse(kDeclaration);
    auto item = std::make_unique<TiXmlElement>("RectSize");
    SetIntAttribute(*item, "Width", width);
    SetIntAttribute(*item, "Height", height);
    Append(doc, std::move(item));
    for (int n = 0; n < kNoteCount; ++n) {
        Append(doc, BuildNote(n, notes[static_cast<std::size_t>(n)]));
    }
}

}  // namespace velmora::testing_support
