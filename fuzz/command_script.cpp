#include "fuzz/command_script.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "editor/velmora_dlg.h"
#include "fuzz/byte_reader.h"
#include "fuzz/fuzz_folder.h"
#include "platform/headless_host.h"
#include "platform/message.h"
#include "resources/resource_ids.h"

namespace velmora::fuzz {

namespace {

constexpr int kMaxMessages = 300;
constexpr size_t kMaxSplinesPerNote = 32;
constexpr size_t kMaxPoints = 128;
constexpr int kMaxSaves = 2;
// Curve samples drawn per input; past this budget the script stops, so that
// thousands of inputs run a second. Points are placed within +-kFarRange,
// whose curves stay short; splines of far-apart points, whose curves run to
// millions of samples, are left to the tests.
constexpr size_t kSampleBudget = size_t{1} << 14;
constexpr int32_t kFarRange = 4096;
// A small client area: the canvas is built for every input and filled on
// every redraw, which at 480 x 360 cost more than everything else.
constexpr int32_t kClientWidth = 96;
constexpr int32_t kClientHeight = 72;

// Files the editor may start from; the first entry means no file at all.
const char* const kSeedFiles[] = {
    nullptr,
    // Several splines, a one-point spline and an empty one.
    "<NewNoteSpline Index=\"0\"><NewSpline><ControlPoint PosX=\"10\" PosY=\"10\" />"
    "<ControlPoint PosX=\"50\" PosY=\"90\" /><ControlPoint PosX=\"130\" PosY=\"90\" />"
    "</NewSpline><NewSpline><ControlPoint PosX=\"200\" PosY=\"200\" /></NewSpline>"
    "<NewSpline /></NewNoteSpline>\n"
    "<NewNoteSpline Index=\"2\"><NewSpline><ControlPoint PosX=\"0\" PosY=\"0\" />"
    "<ControlPoint PosX=\"40\" PosY=\"0\" /></NewSpline></NewNoteSpline>\n",
    // Coincident points and points far off the canvas.
    "<NewNoteSpline Index=\"1\"><NewSpline><ControlPoint PosX=\"100\" PosY=\"100\" />"
    "<ControlPoint PosX=\"100\" PosY=\"100\" /><ControlPoint PosX=\"-4096\" "
    "PosY=\"4095\" /><ControlPoint PosX=\"100\" PosY=\"100\" /></NewSpline>"
    "</NewNoteSpline>\n",
    // A note without splines, which the editor must repair.
    "<NewNoteSpline Index=\"3\" />\n",
};

// Every key of the table, and some that must do nothing.
constexpr uint32_t kKeys[] = {
    VK_BACK,      VK_RETURN,   VK_LEFT,    VK_RIGHT,  VK_DELETE, 'S',
    VK_ADD,       VK_SUBTRACT, VK_DECIMAL, VK_DIVIDE, VK_ESCAPE, VK_OEM_PLUS,
    VK_OEM_MINUS, VK_OEM_2,    VK_UP,      VK_DOWN,   VK_SPACE,  VK_MULTIPLY,
};

void WriteText(const std::string& path, const char* text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return;
    std::fputs(text, file);
    std::fclose(file);
}

// Plays the bytes on one editor and checks it after every message.
class Script {
public:
    Script(const std::string& path, ByteReader& in)
        : m_in(in), m_host(kClientWidth, kClientHeight), m_dlg(path) {
        m_dlg.Attach(m_host);
        m_dlg.OnInitDialog();
    }

    std::string Run() {
        std::string failure = Check(false, false);
        if (!failure.empty())
            return "after start-up: " + failure;
        size_t drawn = 0;
        for (int i = 0; i < kMaxMessages && !m_in.Empty() && drawn < kSampleBudget; ++i) {
            const size_t captions = m_host.Captions().size();
            const int redraws = m_host.GetDCCount();
            const bool moved = PlayOne();
            drawn += static_cast<size_t>(m_host.GetDCCount() - redraws) * m_dlg.Curve().size();
            failure = Check(m_host.Captions().size() != captions, moved);
            if (!failure.empty())
                return "after message " + std::to_string(i) + ": " + failure;
        }
        return {};
    }

private:
    // A position on the canvas, near a control point, just off the canvas or
    // anywhere in the int32_t range.
    Point Position() {
        switch (m_in.Below(4)) {
        case 0:
            return Point{static_cast<int32_t>(m_in.U16() % kClientWidth),
                         static_cast<int32_t>(m_in.U16() % kClientHeight)};
        case 1: {
            const std::vector<Point>& points = m_dlg.Points();
            const Point p = points.empty() ? Point{} : points[m_in.Byte() % points.size()];
            const int dx = static_cast<int>(m_in.Below(11)) - 5;
            const int dy = static_cast<int>(m_in.Below(11)) - 5;
            // Stay inside the int32_t range for points at its edge.
            if (p.x < -0x7FFFFFF0 || p.x > 0x7FFFFFF0 || p.y < -0x7FFFFFF0 || p.y > 0x7FFFFFF0)
                return p;
            return Point{p.x + dx, p.y + dy};
        }
        case 2:
            return Point{static_cast<int32_t>(m_in.U16() % (kClientWidth + 128)) - 64,
                         static_cast<int32_t>(m_in.U16() % (kClientHeight + 128)) - 64};
        default: return Point{m_in.I32(), m_in.I32()};
        }
    }

    // A position for the mouse, which may place or drag a point: within
    // +-kFarRange.
    Point Placed() {
        const Point p = Position();
        return Point{std::clamp(p.x, -kFarRange, kFarRange),
                     std::clamp(p.y, -kFarRange, kFarRange)};
    }

    void Send(uint32_t message, uint32_t wParam, Point point = {}) {
        m_dlg.Dispatch(Message{message, wParam, point});
    }

    // A press that would append a point is skipped once the spline is full.
    void Press(Point p) {
        if (m_dlg.HitTestPoint(p) < 0 && m_dlg.Points().size() >= kMaxPoints)
            return;
        Send(WM_LBUTTONDOWN, MK_LBUTTON, p);
    }

    void Key(uint32_t vk) {
        const size_t splines = m_dlg.NoteSplines()[m_dlg.CurrentNote()].size();
        if (vk == VK_RETURN && splines >= kMaxSplinesPerNote)
            return;
        if (vk == 'S' && ++m_saves > kMaxSaves)
            return;
        Send(WM_KEYDOWN, vk);
    }

    // Plays one message; true when it was a mouse move.
    bool PlayOne() {
        switch (m_in.Below(12)) {
        case 0: Press(Placed()); return false;
        case 1: Send(WM_MOUSEMOVE, m_in.Below(2) * MK_LBUTTON, Placed()); return true;
        case 2: Send(WM_LBUTTONUP, 0, Placed()); return false;
        case 3: {
            const Point p = Placed();
            Press(p);
            Send(WM_LBUTTONUP, 0, p);
            return false;
        }
        case 4:
        case 5: Key(kKeys[m_in.Byte() % std::size(kKeys)]); return false;
        case 6: Key(m_in.Byte()); return false;
        case 7: m_host.AnswerNext(m_in.Below(2) == 1); return false;
        case 8: m_host.SetCursor(Position()); return false;
        case 9: m_host.SetCursorUnavailable(); return false;
        case 10: Send(WM_PAINT, 0); return false;
        default: Send(WM_SYSCOMMAND, IDM_ABOUTBOX); return false;
        }
    }

    // The editor's invariants; `showed` when the message set a caption (a
    // spline was shown), `moved` after a mouse move.
    std::string Check(bool showed, bool moved) const {
        const int32_t note = m_dlg.CurrentNote();
        if (note < 0 || note >= kNoteCount)
            return "current note " + std::to_string(note);
        for (int n = 0; n < kNoteCount; ++n) {
            const auto size = static_cast<int32_t>(m_dlg.NoteSplines()[n].size());
            if (size == 0)
                return "note " + std::to_string(n) + " has no spline";
            const int32_t s = m_dlg.CurrentSpline(n);
            if (s < 0 || s >= size)
                return "note " + std::to_string(n) + " current spline " + std::to_string(s) +
                       " of " + std::to_string(size);
        }
        const int32_t drag = m_dlg.DragIndex();
        if (drag < -1)
            return "drag index " + std::to_string(drag);
        if (moved && drag >= static_cast<int32_t>(m_dlg.Points().size()))
            return "a move left drag index " + std::to_string(drag) + " past " +
                   std::to_string(m_dlg.Points().size()) + " points";
        if (showed && m_dlg.Points() != m_dlg.NoteSplines()[note][m_dlg.CurrentSpline(note)])
            return "the working copy differs from the spline just shown";
        if (m_host.GetDCCount() != m_host.ReleaseDCCount() || m_host.ForeignReleaseCount() != 0)
            return "device contexts not released";
        return {};
    }

    ByteReader& m_in;
    HeadlessHost m_host;
    CVelmoraDlg m_dlg;
    int m_saves = 0;
};

}  // namespace

std::string RunCommandScript(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const std::string path = FuzzFile("Splines.xml");
    std::remove(path.c_str());
    std::remove((path + ".bak").c_str());
    const char* seed = kSeedFiles[in.Byte() % std::size(kSeedFiles)];
    if (seed != nullptr)
        WriteText(path, seed);

    Script script(path, in);
    return script.Run();
}

}  // namespace velmora::fuzz
