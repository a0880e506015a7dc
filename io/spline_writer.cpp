#include "io/spline_writer.h"

#include <memory>

#include <tinyxml.h>

#include "io/spline_file.h"

namespace velmora {

namespace {

// 43 characters and a line feed; the parser turns it into the declaration
// node, which prints with a blank before "?>".
constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";

// Hands a finished element to its parent. Linking moves ownership instead of
// copying the subtree; the printed text is the same.
void Append(TiXmlNode& parent, std::unique_ptr<TiXmlElement> child) {
    parent.LinkEndChild(child.release());
}

// One NewNoteSpline element with all its splines and points.
std::unique_ptr<TiXmlElement> BuildNote(int index, const SplineList& splines) {
    auto item = std::make_unique<TiXmlElement>("NewNoteSpline");
    item->SetAttribute("Index", index);
    for (const Spline& spline : splines) {
        auto splineItem = std::make_unique<TiXmlElement>("NewSpline");
        for (const Point& thePoint : spline) {
            auto controlPointItem = std::make_unique<TiXmlElement>("ControlPoint");
            controlPointItem->SetAttribute("PosX", thePoint.x);
            controlPointItem->SetAttribute("PosY", thePoint.y);
            Append(*splineItem, std::move(controlPointItem));
        }
        Append(*item, std::move(splineItem));
    }
    return item;
}

}  // namespace

void BuildSplineDocument(TiXmlDocument& doc, const NoteSet& notes, const Rect& clientRect) {
    doc.Parse(kDeclaration);
    auto item = std::make_unique<TiXmlElement>("RectSize");
    item->SetAttribute("Width", clientRect.right);
    item->SetAttribute("Height", clientRect.bottom);
    Append(doc, std::move(item));
    for (int n = 0; n < kNoteCount; ++n) {
        Append(doc, BuildNote(n, notes[static_cast<std::size_t>(n)]));
    }
}

// The printer's default indent (four blanks) and line break (LF) give the
// same bytes as saving the document to a file on this platform.
std::string PrintSplines(const NoteSet& notes, const Rect& clientRect) {
    TiXmlDocument doc;
    BuildSplineDocument(doc, notes, clientRect);
    TiXmlPrinter printer;
    doc.Accept(&printer);
    return printer.Str();
}

}  // namespace velmora
