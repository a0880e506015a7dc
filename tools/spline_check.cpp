#include "tools/spline_check.h"

#include <tinyxml.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>

#include "io/guarded_parse.h"
#include "io/int_attribute.h"
#include "io/spline_file.h"
#include "io/xml_scan.h"
#include "tools/loaded_notes.h"

namespace velmora::tool {

namespace {

// A name or value from the file, cut short so one message stays one line.
std::string Quoted(const char* text) {
    std::string shown = text != nullptr ? text : "";
    if (shown.size() > 40)
        shown = shown.substr(0, 40) + "...";
    return "\"" + shown + "\"";
}

// The 1-based line and column of byte `offset`; LF, CR LF and a lone CR
// each end a line, as for the reader.
std::pair<int, int> PositionOf(const std::string& text, std::size_t offset) {
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    return {line, static_cast<int>(offset - lineStart) + 1};
}

// Walks the parsed document the way the editor's reader does, noting every
// place where it skips, stops early or repairs.
class Walk {
public:
    explicit Walk(std::vector<Problem>& problems) : m_problems(problems) {}

    void Run(const TiXmlDocument& doc) {
        const TiXmlNode* first = doc.FirstChild("NewNoteSpline");
        for (const TiXmlNode* node = doc.FirstChild(); node != first; node = node->NextSibling()) {
            if (node->ToDeclaration() != nullptr)
                continue;
            const TiXmlElement* element = node->ToElement();
            if (element != nullptr && std::strcmp(element->Value(), "RectSize") == 0) {
                ReadRectSize(*element);
            } else {
                Skipped(*node, "before the first NewNoteSpline is passed over");
            }
        }
        std::array<int, kNoteCount> namedAt{};  // the line of a note's element, 0 if none
        for (const TiXmlNode* node = first; node != nullptr; node = node->NextSibling()) {
            const TiXmlElement* note = node->ToElement();
            if (note == nullptr) {
                Skipped(*node, "is ignored");
                continue;
            }
            if (!ReadNoteElement(*note, namedAt))
                break;
        }
        for (int n = 0; n < kNoteCount; ++n) {
            if (namedAt[static_cast<std::size_t>(n)] == 0) {
                Add(0, 0, "default-spline",
                    "note " + std::to_string(n) +
                        " is not in the file; the editor gives it its default spline");
            }
        }
    }

private:
    void Add(int line, int column, const char* kind, std::string message) {
        m_problems.push_back(Problem{line, column, kind, std::move(message)});
    }
    void Add(const TiXmlBase& at, const char* kind, std::string message) {
        Add(at.Row(), at.Column(), kind, std::move(message));
    }

    // A node the reader passes over: an element, text, a comment.
    void Skipped(const TiXmlNode& node, const std::string& what) {
        const TiXmlElement* element = node.ToElement();
        std::string name = element != nullptr ? "element " + Quoted(element->Value())
                           : node.ToText()    ? std::string("text")
                           : node.ToComment() ? std::string("a comment")
                                              : std::string("markup ") + Quoted(node.Value());
        Add(node, "skipped", name + " " + what);
    }

    void IgnoredAttributes(const TiXmlElement& element, std::initializer_list<const char*> read) {
        for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
            const bool known = std::any_of(read.begin(), read.end(), [a](const char* name) {
                return std::strcmp(a->Name(), name) == 0;
            });
            if (!known)
                Add(*a, "skipped", "attribute " + Quoted(a->Name()) + " is ignored");
        }
    }

    void IgnoredChildren(const TiXmlNode& parent, const TiXmlNode* until, const char* why) {
        for (const TiXmlNode* c = parent.FirstChild(); c != nullptr && c != until;
             c = c->NextSibling()) {
            Skipped(*c, why);
        }
    }

    void ReadRectSize(const TiXmlElement& element) {
        const IntAttribute width = ReadIntAttribute(element, "Width");
        const IntAttribute height = ReadIntAttribute(element, "Height");
        if (width.value && height.value) {
            m_rect = Rect{0, 0, *width.value, *height.value};
            m_rectText =
                "RectSize " + std::to_string(*width.value) + " x " + std::to_string(*height.value);
        }
        IgnoredAttributes(element, {"Width", "Height"});
        IgnoredChildren(element, nullptr, "is ignored");
    }

    // Returns false when the reader stops at this element.
    bool ReadNoteElement(const TiXmlElement& note, std::array<int, kNoteCount>& namedAt) {
        if (std::strcmp(note.Value(), "NewNoteSpline") != 0) {
            Add(note, "misnamed", "element " + Quoted(note.Value()) + " is read as a note");
        }
        const IntAttribute index = ReadIntAttribute(note, "Index");
        if (!index.present) {
            Add(note, "walk-ended",
                "a note without Index: the editor stops reading here and ignores the rest of the "
                "file");
            return false;
        }
        if (!index.value) {
            Add(note, "bad-index",
                "Index " + Quoted(note.Attribute("Index")) +
                    " is not a 32-bit integer; the editor skips this note");
            return true;
        }
        if (*index.value < 0 || *index.value >= kNoteCount) {
            Add(note, "bad-index",
                "Index " + std::to_string(*index.value) +
                    " is outside 0..3; the editor skips this note");
            return true;
        }
        const int n = *index.value;
        int& at = namedAt[static_cast<std::size_t>(n)];
        if (at != 0) {
            Add(note, "duplicate-index",
                "note " + std::to_string(n) + " again (first on line " + std::to_string(at) +
                    "); this one replaces it");
        }
        at = note.Row();
        IgnoredAttributes(note, {"Index"});
        const TiXmlNode* first = note.FirstChild("NewSpline");
        IgnoredChildren(note, first, "before the first NewSpline is passed over");
        int count = 0;
        for (const TiXmlNode* s = first; s != nullptr; s = s->NextSibling()) {
            if (s != first && s->ToElement() == nullptr) {
                Skipped(*s, "is ignored");
                continue;
            }
            ReadSplineNode(*s, n, ++count);
        }
        if (count == 0) {
            Add(note, "default-spline",
                "note " + std::to_string(n) +
                    " has no spline; the editor gives it its default spline");
        }
        return true;
    }

    void ReadSplineNode(const TiXmlNode& spline, int note, int number) {
        const std::string which =
            "note " + std::to_string(note) + ", spline " + std::to_string(number);
        const TiXmlElement* element = spline.ToElement();
        if (element != nullptr) {
            if (std::strcmp(element->Value(), "NewSpline") != 0) {
                Add(spline, "misnamed",
                    "element " + Quoted(element->Value()) + " is read as a spline (" + which + ")");
            }
            IgnoredAttributes(*element, {});
        }
        const TiXmlNode* first = spline.FirstChild("ControlPoint");
        IgnoredChildren(spline, first, "before the first ControlPoint is passed over");
        int count = 0;
        Point previous;
        for (const TiXmlNode* c = first; c != nullptr; c = c->NextSibling()) {
            const TiXmlElement* point = c->ToElement();
            if (c != first && point == nullptr) {
                Skipped(*c, "is ignored");
                continue;
            }
            if (!ReadPoint(point, *c, which, count, previous))
                break;
        }
        if (count < 2) {
            Add(spline, "short-spline",
                which + " has " + std::to_string(count) + (count == 1 ? " point" : " points") +
                    "; the editor draws no curve for it");
        }
    }

    // Returns false when the reader drops this point and the rest of the spline.
    bool ReadPoint(const TiXmlElement* point, const TiXmlNode& node, const std::string& which,
                   int& count, Point& previous) {
        const std::string dropped = "; the editor drops it and the rest of " + which;
        if (point == nullptr) {
            Add(node, "walk-ended", "not a ControlPoint element" + dropped);
            return false;
        }
        if (std::strcmp(point->Value(), "ControlPoint") != 0) {
            Add(node, "misnamed",
                "element " + Quoted(point->Value()) + " is read as a control point");
        }
        const IntAttribute x = ReadIntAttribute(*point, "PosX");
        const IntAttribute y = ReadIntAttribute(*point, "PosY");
        for (const auto& [name, value] : {std::pair{"PosX", &x}, std::pair{"PosY", &y}}) {
            if (!value->present) {
                Add(node, "walk-ended", std::string("control point without ") + name + dropped);
                return false;
            }
            if (!value->value) {
                Add(node, "walk-ended",
                    std::string(name) + " " + Quoted(point->Attribute(name)) +
                        " is not a 32-bit integer" + dropped);
                return false;
            }
        }
        const Point p{*x.value, *y.value};
        const std::string at = "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
        if (count > 0 && p == previous) {
            Add(node, "coincident-points",
                "point " + at + " repeats the point before it in " + which);
        }
        if (p.x < 0 || p.y < 0 || p.x >= m_rect.right || p.y >= m_rect.bottom) {
            Add(node, "outside", "point " + at + " lies outside the " + m_rectText);
        }
        IgnoredAttributes(*point, {"PosX", "PosY"});
        IgnoredChildren(*point, nullptr, "is ignored");
        ++count;
        previous = p;
        return true;
    }

    std::vector<Problem>& m_problems;
    Rect m_rect = kEditorClient;
    std::string m_rectText = "editor's 480 x 360 client area";
};

}  // namespace

CheckReport CheckSplineText(const std::string& bytes) {
    CheckReport report;
    const LoadedNotes loaded = LoadLikeEditor(bytes);
    const LoadOutcome& outcome = loaded.outcome;
    if (outcome.status == LoadStatus::kUnreadable) {
        report.problems.push_back(Problem{outcome.line, outcome.column, "unreadable",
                                          "the editor cannot read it: " + outcome.reason +
                                              "; it shows the default splines instead"});
    } else if (outcome.status == LoadStatus::kEmpty) {
        report.problems.push_back(Problem{
            0, 0, "default-spline", "the file is empty; the editor shows the default splines"});
    } else {
        // Tab size 1 makes columns count bytes (UTF-8 sequences count once).
        TiXmlDocument doc;
        doc.SetTabSize(1);
        const char* stop = ParseWithAmpleStack(doc, bytes, ParserEncodingFor(bytes)).stop;
        Walk(report.problems).Run(doc);
        if (stop != nullptr && *stop != '\0') {
            const auto [line, column] =
                PositionOf(bytes, static_cast<std::size_t>(stop - bytes.c_str()));
            report.problems.push_back(
                Problem{line, column, "skipped",
                        "the reader stops here; everything from here on is ignored"});
        }
    }
    const std::string written =
        PrintSplines(loaded.notes, kEditorClient.right, kEditorClient.bottom);
    report.exact = written == bytes;
    if (!report.exact) {
        const auto diff = std::mismatch(bytes.begin(), bytes.end(), written.begin(), written.end());
        const auto [line, column] =
            PositionOf(bytes, static_cast<std::size_t>(diff.first - bytes.begin()));
        report.problems.push_back(
            Problem{line, column, "not-editor-form",
                    "not in the form the editor writes; a save would rewrite it from here"});
    }
    // File order; problems without a place (line 0) come first.
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const Problem& a, const Problem& b) {
                         return std::pair{a.line, a.column} < std::pair{b.line, b.column};
                     });
    return report;
}

}  // namespace velmora::tool
