#include "io/xml/note_walk.h"

#include <cstring>
#include <initializer_list>
#include <utility>

#include "io/xml/int_attribute.h"

namespace velmora {

namespace {

bool NamedAs(const TiXmlNode& node, const char* name) {
    return std::strcmp(node.Value(), name) == 0;
}

// The kind of a node that the walk passes over or reads by position.
FindingNode NodeOf(const TiXmlNode& node) {
    if (node.ToElement() != nullptr)
        return FindingNode::kElement;
    if (node.ToComment() != nullptr)
        return FindingNode::kComment;
    if (node.ToText() != nullptr)
        return FindingNode::kText;
    return FindingNode::kMarkup;
}

// The walk itself; every report goes through Report, which does nothing
// unless findings were asked for.
class Walker {
public:
    Walker(NoteSet& notes, ReadFindings* findings) : m_notes(notes), m_findings(findings) {}

    NoteWalk Run(const TiXmlDocument& doc) {
        NoteWalk walk;
        const TiXmlNode* first = doc.FirstChild("NewNoteSpline");
        if (m_findings != nullptr) {
            BeforeFirstNote(doc, first);
        }
        NoteSet read;
        std::array<bool, kNoteCount> named{};
        for (const TiXmlNode* node = first; node != nullptr; node = node->NextSibling()) {
            const TiXmlElement* note = node->ToElement();
            if (note == nullptr) {
                Ignored(*node, FindingRole::kTopLevel);
                continue;
            }
            m_note = -1;
            const IntAttribute index = ReadIntAttribute(*note, "Index");
            if (!index.present) {
                walk.stoppedAt = note;
                break;
            }
            if (!index.value || *index.value < 0 || *index.value >= kNoteCount) {
                Report(FindingKind::kBadIndex, *note, FindingRole::kNote).text = Keep(index.text);
                continue;
            }
            const int n = *index.value;
            m_note = n;
            if (m_findings != nullptr && !NamedAs(*note, "NewNoteSpline")) {
                Report(FindingKind::kMisnamed, *note, FindingRole::kNote).subject =
                    Keep(note->Value());
            }
            MisreadNumber(*note, index, "Index", FindingRole::kNote);
            const auto slot = static_cast<std::size_t>(n);
            if (m_findings != nullptr) {
                int& line = m_findings->noteLines[slot];
                if (named[slot]) {
                    Report(FindingKind::kDuplicateIndex, *note, FindingRole::kNote).value = line;
                }
                line = note->Row();
                IgnoredAttributes(*note, {"Index"}, FindingRole::kNote);
            }
            read[slot] = ReadNote(*note);
            named[slot] = true;
            ++walk.notesRead;
        }
        for (std::size_t n = 0; n < read.size(); ++n) {
            if (named[n]) {
                m_notes[n] = std::move(read[n]);
            }
        }
        return walk;
    }

private:
    // The splines a note element holds, in file order; empty ones included.
    SplineList ReadNote(const TiXmlElement& note) {
        SplineList splines;
        const TiXmlNode* first = note.FirstChild("NewSpline");
        PassedOverUntil(note, first, FindingRole::kNote);
        for (const TiXmlNode* s = first; s != nullptr; s = s->NextSibling()) {
            if (s != first && s->ToElement() == nullptr) {
                Ignored(*s, FindingRole::kNote);
                continue;
            }
            m_spline = static_cast<int>(splines.size()) + 1;
            splines.push_back(ReadSpline(*s));
        }
        m_spline = 0;
        if (splines.empty()) {
            Report(FindingKind::kNoSpline, note, FindingRole::kNote);
        }
        return splines;
    }

    // The control points of one spline. A point without a usable PosX or
    // PosY ends the spline; the points before it are kept.
    Spline ReadSpline(const TiXmlNode& splineNode) {
        if (m_findings != nullptr) {
            if (!NamedAs(splineNode, "NewSpline") || splineNode.ToElement() == nullptr) {
                ReportNode(FindingKind::kMisnamed, splineNode, FindingRole::kSpline);
            }
            if (const TiXmlElement* element = splineNode.ToElement()) {
                IgnoredAttributes(*element, {}, FindingRole::kSpline);
            }
        }
        Spline points;
        const TiXmlNode* first = splineNode.FirstChild("ControlPoint");
        PassedOverUntil(splineNode, first, FindingRole::kSpline);
        for (const TiXmlNode* c = first; c != nullptr; c = c->NextSibling()) {
            const TiXmlElement* point = c->ToElement();
            m_point = static_cast<int>(points.size()) + 1;
            if (point == nullptr) {
                if (c != first) {
                    Ignored(*c, FindingRole::kSpline);
                    continue;
                }
                ReportNode(FindingKind::kPointDropped, *c, FindingRole::kPoint);
                break;
            }
            const IntAttribute x = ReadIntAttribute(*point, "PosX");
            const IntAttribute y = ReadIntAttribute(*point, "PosY");
            if (!x.value || !y.value) {
                const bool xBad = !x.value;
                ReadFinding& f = Report(FindingKind::kPointDropped, *point, FindingRole::kPoint);
                f.subject = Keep(xBad ? "PosX" : "PosY");
                const IntAttribute& bad = xBad ? x : y;
                f.value = bad.present ? 1 : 0;
                f.text = bad.present ? Keep(bad.text) : 0;
                break;
            }
            const Point p{*x.value, *y.value};
            if (m_findings != nullptr) {
                Judge(*point, x, y, p, points);
            }
            points.push_back(p);
        }
        m_point = 0;
        if (points.size() < 2) {
            Report(FindingKind::kShortSpline, splineNode, FindingRole::kSpline).value =
                static_cast<int32_t>(points.size());
        }
        return points;
    }

    // Everything findings say of one point that is read.
    void Judge(const TiXmlElement& point, const IntAttribute& x, const IntAttribute& y, Point p,
               const Spline& before) {
        if (!NamedAs(point, "ControlPoint")) {
            Report(FindingKind::kMisnamed, point, FindingRole::kPoint).subject =
                Keep(point.Value());
        }
        MisreadNumber(point, x, "PosX", FindingRole::kPoint);
        MisreadNumber(point, y, "PosY", FindingRole::kPoint);
        if (!before.empty() && before.back() == p) {
            Report(FindingKind::kCoincidentPoint, point, FindingRole::kPoint).at = p;
        }
        const Rect& frame = m_findings->frame;
        if (p.x < frame.left || p.y < frame.top || p.x >= frame.right || p.y >= frame.bottom) {
            Report(FindingKind::kOutsideFrame, point, FindingRole::kPoint).at = p;
        }
        IgnoredAttributes(point, {"PosX", "PosY"}, FindingRole::kPoint);
        PassedOverUntil(point, nullptr, FindingRole::kPoint);
    }

    // The top level before the first note: the declaration is the file's
    // own, the first RectSize gives the frame, anything else is not read.
    void BeforeFirstNote(const TiXmlDocument& doc, const TiXmlNode* first) {
        for (const TiXmlNode* node = doc.FirstChild(); node != first; node = node->NextSibling()) {
            const TiXmlElement* element = node->ToElement();
            if (node->ToDeclaration() != nullptr) {
                continue;
            }
            if (element == nullptr) {
                Ignored(*node, FindingRole::kTopLevel);
            } else if (NamedAs(*element, "RectSize") && !m_rectSizeSeen) {
                ReadRectSize(*element);
            } else {
                ReportNode(FindingKind::kPassedOver, *node, FindingRole::kTopLevel);
            }
        }
    }

    void ReadRectSize(const TiXmlElement& element) {
        m_rectSizeSeen = true;
        const IntAttribute width = ReadIntAttribute(element, "Width");
        const IntAttribute height = ReadIntAttribute(element, "Height");
        if (width.value && height.value) {
            m_findings->frame = Rect{0, 0, *width.value, *height.value};
            m_findings->rectSizeRead = true;
        }
        IgnoredAttributes(element, {"Width", "Height"}, FindingRole::kRectSize);
        PassedOverUntil(element, nullptr, FindingRole::kRectSize);
    }

    // The children of `parent` before `until` (all of them for null): the
    // walk does not look at them.
    void PassedOverUntil(const TiXmlNode& parent, const TiXmlNode* until, FindingRole role) {
        if (m_findings == nullptr) {
            return;
        }
        for (const TiXmlNode* c = parent.FirstChild(); c != nullptr && c != until;
             c = c->NextSibling()) {
            if (c->ToElement() != nullptr) {
                ReportNode(FindingKind::kPassedOver, *c, role);
            } else {
                Ignored(*c, role);
            }
        }
    }

    void IgnoredAttributes(const TiXmlElement& element, std::initializer_list<const char*> read,
                           FindingRole role) {
        for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
            bool known = false;
            for (const char* name : read) {
                known = known || std::strcmp(a->Name(), name) == 0;
            }
            if (!known) {
                ReadFinding& f = Report(FindingKind::kIgnored, *a, role);
                f.node = FindingNode::kAttribute;
                f.subject = Keep(a->Name());
            }
        }
    }

    void Ignored(const TiXmlNode& node, FindingRole role) {
        if (m_findings != nullptr) {
            ReportNode(FindingKind::kIgnored, node, role);
        }
    }

    void MisreadNumber(const TiXmlElement& element, const IntAttribute& number, const char* name,
                       FindingRole role) {
        if (m_findings != nullptr && !ReadsAsWritten(number.text)) {
            ReadFinding& f = Report(FindingKind::kMisreadNumber, element, role);
            f.subject = Keep(name);
            f.text = Keep(number.text);
            f.value = *number.value;
        }
    }

    // A finding about `node`, named after it where it is an element.
    void ReportNode(FindingKind kind, const TiXmlNode& node, FindingRole role) {
        if (m_findings == nullptr) {
            return;
        }
        ReadFinding& f = Report(kind, node, role);
        f.node = NodeOf(node);
        if (f.node == FindingNode::kElement) {
            f.subject = Keep(node.Value());
        }
    }

    uint32_t Keep(const char* text) { return m_findings != nullptr ? m_findings->Keep(text) : 0; }

    // A new finding at `at` in the walk's current note, spline and point;
    // without findings, a scratch one that nobody reads.
    ReadFinding& Report(FindingKind kind, const TiXmlBase& at, FindingRole role) {
        if (m_findings == nullptr) {
            m_scratch.kind = kind;
            return m_scratch;
        }
        ReadFinding f;
        f.kind = kind;
        f.role = role;
        f.line = at.Row();
        f.column = at.Column();
        f.note = role == FindingRole::kTopLevel || role == FindingRole::kRectSize ? -1 : m_note;
        f.spline = m_spline;
        f.point = m_point;
        m_findings->list.push_back(std::move(f));
        return m_findings->list.back();
    }

    NoteSet& m_notes;
    ReadFindings* const m_findings;
    ReadFinding m_scratch;
    bool m_rectSizeSeen = false;
    int m_note = -1;
    int m_spline = 0;
    int m_point = 0;
};

}  // namespace

NoteWalk WalkNotes(const TiXmlDocument& doc, NoteSet& notes, ReadFindings* findings) {
    return Walker(notes, findings).Run(doc);
}

}  // namespace velmora
