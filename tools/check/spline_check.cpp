#include "tools/check/spline_check.h"

#include <algorithm>
#include <utility>

#include "io/loaded_notes.h"
#include "io/xml/spline_writer.h"
#include "tools/check/editor_form.h"

namespace velmora::tool {

namespace {

// A name or value from the file, cut short so one message stays one line.
std::string Quoted(const std::string& text) {
    return "\"" + (text.size() > 40 ? text.substr(0, 40) + "..." : text) + "\"";
}

// "note 1", "note 1, spline 2" or "note 1, spline 2, point 3".
std::string Which(const ReadFinding& f) {
    std::string which = "note " + std::to_string(f.note);
    if (f.spline > 0)
        which += ", spline " + std::to_string(f.spline);
    if (f.point > 0)
        which += ", point " + std::to_string(f.point);
    return which;
}

std::string PointText(Point p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

// The node a finding is about: `element "Foo"`, `a comment`, ...
std::string NodeName(const ReadFinding& f, const ReadFindings& all) {
    switch (f.node) {
    case FindingNode::kElement: return "element " + Quoted(all.String(f.subject));
    case FindingNode::kAttribute: return "attribute " + Quoted(all.String(f.subject));
    case FindingNode::kComment: return "a comment";
    case FindingNode::kText: return "text";
    case FindingNode::kMarkup: return "markup";
    }
    return {};
}

// Where a node the walk passes over lies.
std::string Inside(const ReadFinding& f) {
    switch (f.role) {
    case FindingRole::kTopLevel: return "before the first note";
    case FindingRole::kRectSize: return "in RectSize";
    case FindingRole::kNote: return "in " + Which(f) + " before its first NewSpline";
    case FindingRole::kSpline: return "in " + Which(f) + " before its first ControlPoint";
    case FindingRole::kPoint: return "in " + Which(f);
    }
    return {};
}

// How much a finding of the reader's walk matters.
Severity SeverityOf(FindingKind kind) {
    switch (kind) {
    case FindingKind::kPassedOver:
    case FindingKind::kBadIndex:
    case FindingKind::kDuplicateIndex:
    case FindingKind::kPointDropped: return Severity::kError;
    case FindingKind::kMisnamed:
    case FindingKind::kMisreadNumber:
    case FindingKind::kShortSpline:
    case FindingKind::kCoincidentPoint: return Severity::kWarning;
    case FindingKind::kNoSpline:
    case FindingKind::kOutsideFrame:
    case FindingKind::kIgnored: break;
    }
    return Severity::kNote;
}

// The problem a finding of the reader's walk makes.
Problem FromFinding(const ReadFinding& f, const ReadFindings& all) {
    Problem p{f.line, f.column, SeverityOf(f.kind), "", {}};
    switch (f.kind) {
    case FindingKind::kPassedOver:
        p.kind = "passed-over";
        p.message =
            NodeName(f, all) + " " + Inside(f) + " is passed over; the editor does not read it";
        break;
    case FindingKind::kBadIndex:
        p.kind = "bad-index";
        p.message = "Index " + Quoted(all.String(f.text)) +
                    " is no note number 0 to 3; the editor skips this note";
        break;
    case FindingKind::kDuplicateIndex:
        p.kind = "duplicate-index";
        p.message = "note " + std::to_string(f.note) + " again (first on line " +
                    std::to_string(f.value) + "): its splines replace the earlier ones";
        break;
    case FindingKind::kPointDropped:
        p.kind = "dropped-points";
        p.message =
            (f.node != FindingNode::kElement ? NodeName(f, all) + " stands for the first point"
             : f.value == 0                  ? "control point without " + all.String(f.subject)
                            : all.String(f.subject) + " " + Quoted(all.String(f.text)) +
                                  " is no 32-bit integer") +
            "; the editor drops " + Which(f) + " and every point after it";
        break;
    case FindingKind::kMisnamed:
        p.kind = "misnamed";
        p.message = NodeName(f, all) + " is read as " + Which(f);
        break;
    case FindingKind::kMisreadNumber:
        p.kind = "misread-number";
        p.message = all.String(f.subject) + " " + Quoted(all.String(f.text)) + " is read as " +
                    std::to_string(f.value) + (f.note >= 0 ? " (" + Which(f) + ")" : "");
        break;
    case FindingKind::kNoSpline:
        p.kind = "default-spline";
        p.message = Which(f) + " has no spline; the editor gives it its default spline";
        break;
    case FindingKind::kShortSpline:
        p.kind = "short-spline";
        p.message = Which(f) + " has " + std::to_string(f.value) +
                    (f.value == 1 ? " point" : " points") + "; the editor draws no curve for it";
        break;
    case FindingKind::kCoincidentPoint:
        p.kind = "coincident-points";
        p.message = Which(f) + " " + PointText(f.at) + " repeats the point before it";
        break;
    case FindingKind::kOutsideFrame:
        p.kind = "outside";
        p.message = Which(f) + " " + PointText(f.at) + " lies outside the " +
                    (all.rectSizeRead ? "RectSize " + std::to_string(all.frame.right) + " x " +
                                            std::to_string(all.frame.bottom)
                                      : "editor's " + std::to_string(kEditorClient.right) + " x " +
                                            std::to_string(kEditorClient.bottom) + " client area");
        break;
    case FindingKind::kIgnored:
        p.kind = "ignored";
        p.message = NodeName(f, all) + " is ignored; the next save drops it";
        break;
    }
    return p;
}

bool ByPlace(int lineA, int columnA, int lineB, int columnB) {
    return std::pair{lineA, columnA} < std::pair{lineB, columnB};
}

}  // namespace

const char* SeverityName(Severity severity) {
    switch (severity) {
    case Severity::kError: return "error";
    case Severity::kWarning: return "warning";
    case Severity::kNote: return "note";
    }
    return "";
}

// The outcome's own problems (a refusal, a stop, notes not read, a file too
// large to save again) come from the reader; the form is compared here.
CheckReport::CheckReport(const std::string& bytes) {
    m_findings.frame = kEditorClient;
    const LoadedNotes loaded = LoadLikeEditor(bytes, kEditorClient, &m_findings);
    const LoadOutcome& outcome = loaded.outcome;
    if (outcome.found == LoadStatus::kUnreadable) {
        m_outcome.push_back(Problem{outcome.Problem().line, outcome.Problem().column,
                                    Severity::kError, "unreadable",
                                    "the editor cannot read it: " + outcome.Problem().reason +
                                        "; it shows the default splines instead"});
        return;
    }
    if (outcome.found != LoadStatus::kLoaded) {
        m_exact = true;  // the normal empty case
        return;
    }
    if (outcome.conflicted) {
        m_outcome.push_back(Problem{
            outcome.Problem().line, outcome.Problem().column, Severity::kError, "conflict-markers",
            outcome.Problem().reason + ": the editor reads only what comes before the note "
                                       "they are in; finish the merge first"});
    } else if (outcome.StoppedEarly()) {
        m_outcome.push_back(
            Problem{outcome.Problem().line, outcome.Problem().column, Severity::kError, "partial",
                    "read only in part: reading stops at " + outcome.Problem().reason +
                        "; the editor does not read what follows"});
    } else if (outcome.noNote) {
        m_outcome.push_back(Problem{0, 0, Severity::kError, "no-note",
                                    "it holds text but no note the editor can read; it shows "
                                    "the default splines instead"});
    }
    for (int n = 0; n < kNoteCount; ++n) {
        if (m_findings.noteLines[static_cast<std::size_t>(n)] != 0)
            continue;
        m_outcome.push_back(
            Problem{0, 0, Severity::kNote, outcome.StoppedEarly() ? "not-read" : "default-spline",
                    "note " + std::to_string(n) +
                        (outcome.StoppedEarly() ? " was not read, as reading stopped early"
                                                : " is not in the file") +
                        "; the editor gives it its default spline"});
    }
    if (outcome.tooLargeToSave) {
        m_outcome.push_back(Problem{0, 0, Severity::kWarning, "too-large-to-save",
                                    "a save would write " + std::to_string(outcome.savedNodes) +
                                        " XML nodes, more than the editor reads back; the editor "
                                        "refuses to save it until splines are deleted"});
    }
    const FormDifference form = DescribeFormDifference(
        bytes, PrintSplines(loaded.notes, kEditorClient.right, kEditorClient.bottom), m_findings);
    m_exact = form.what.empty();
    if (!m_exact) {
        m_outcome.push_back(Problem{form.line, form.column, Severity::kNote, "not-editor-form",
                                    "not the editor's form: " + form.what});
    }
    const auto place = [](const auto& a, const auto& b) {
        return ByPlace(a.line, a.column, b.line, b.column);
    };
    std::stable_sort(m_findings.list.begin(), m_findings.list.end(), place);
    std::stable_sort(m_outcome.begin(), m_outcome.end(), place);
}

CheckReport CheckReport::Unreadable(std::string reason) {
    CheckReport report;
    report.m_outcome.push_back(Problem{0, 0, Severity::kError, "unreadable", std::move(reason)});
    return report;
}

bool CheckReport::HasErrors() const {
    return std::any_of(m_outcome.begin(), m_outcome.end(),
                       [](const Problem& p) { return p.severity == Severity::kError; }) ||
           std::any_of(m_findings.list.begin(), m_findings.list.end(),
                       [](const ReadFinding& f) { return SeverityOf(f.kind) == Severity::kError; });
}

bool CheckReport::Empty() const { return m_outcome.empty() && m_findings.list.empty(); }

// Merges the two sorted lists; an outcome problem goes before a finding at
// the same place.
void CheckReport::ForEach(const std::function<bool(const Problem&)>& each) const {
    auto o = m_outcome.begin();
    auto f = m_findings.list.begin();
    while (o != m_outcome.end() || f != m_findings.list.end()) {
        const bool outcomeFirst =
            f == m_findings.list.end() ||
            (o != m_outcome.end() && !ByPlace(f->line, f->column, o->line, o->column));
        const bool more = outcomeFirst ? each(*o++) : each(FromFinding(*f++, m_findings));
        if (!more)
            return;
    }
}

}  // namespace velmora::tool
