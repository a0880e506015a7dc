#include "fuzz/file_round_trip.h"

#include <algorithm>
#include <cstdio>

#include "editor/velmora_dlg.h"
#include "fuzz/fuzz_folder.h"
#include "platform/headless_host.h"
#include "platform/message.h"

namespace velmora::fuzz {

namespace {

// Enough to show every spline of an ordinary file; a file of thousands of
// empty splines is stepped through only this far, so one input stays fast.
constexpr size_t kMaxStepsPerNote = 128;
// Curve samples shown while stepping. Splines of far-apart points hold up to
// a million samples each; past this budget the stepping stops (the round trip
// is still checked), so a file of many such splines is not taken for a hang.
constexpr size_t kSampleBudget = 2'000'000;

// Replaces the file with the bytes; false when it cannot be written.
bool WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// An editor started on `path` through the same calls the window makes.
struct Editor {
    explicit Editor(const std::string& path) : dlg(path) {
        dlg.Attach(host);
        dlg.OnInitDialog();
    }
    void Key(uint32_t vk) { dlg.Dispatch(Message{WM_KEYDOWN, vk, Point{}}); }

    HeadlessHost host;
    CVelmoraDlg dlg;
};

// Where the two note sets first differ, or an empty string.
std::string Difference(const NoteSet& a, const NoteSet& b) {
    for (int n = 0; n < kNoteCount; ++n) {
        if (a[n].size() != b[n].size())
            return "note " + std::to_string(n) + " holds " + std::to_string(a[n].size()) +
                   " splines before saving and " + std::to_string(b[n].size()) + " after";
        for (size_t s = 0; s < a[n].size(); ++s) {
            if (a[n][s] != b[n][s])
                return "note " + std::to_string(n) + " spline " + std::to_string(s) +
                       " differs after saving";
        }
    }
    return {};
}

}  // namespace

std::string CheckFileRoundTrip(const uint8_t* data, size_t size) {
    const std::string path = FuzzFile("Splines.xml");
    std::remove((path + ".bak").c_str());
    if (!WriteBytes(path, data, size))
        return "could not write " + path;

    Editor first(path);
    size_t shown = 0;
    for (int step = 0; step < kNoteCount && shown < kSampleBudget; ++step) {
        const int n = first.dlg.CurrentNote();
        const size_t splines = first.dlg.NoteSplines()[n].size();
        for (size_t s = 0; s < std::min(splines, kMaxStepsPerNote) && shown < kSampleBudget; ++s) {
            first.Key(VK_RIGHT);
            shown += first.dlg.Curve().size();
        }
        first.Key(VK_ADD);
    }
    first.dlg.Dispatch(Message{WM_PAINT, 0, Point{}});

    const size_t warningsBefore = first.host.Warnings().size();
    first.Key('S');
    if (first.host.Warnings().size() != warningsBefore)
        return "saving failed: " + first.host.Warnings().back().text;

    Editor second(path);
    if (!second.host.Warnings().empty())
        return "the saved file cannot be read: " + second.host.Warnings().back().text;
    return Difference(first.dlg.NoteSplines(), second.dlg.NoteSplines());
}

}  // namespace velmora::fuzz
