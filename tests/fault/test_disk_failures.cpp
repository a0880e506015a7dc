// Saves that fail part-way on a real file system: a full disk and a folder
// that turned read-only. Each runs in a child process with a private mount of
// a tiny tmpfs, so nothing outside the test sees it; without the rights to
// mount (not root) the tests are skipped.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

constexpr int kSkip = 77;

// Runs `scenario` in a child with `folder` as a fresh 64 KiB tmpfs of its own.
// The scenario returns an empty string when all went as expected, else what
// went wrong, which the child prints.
void RunOnTinyDisk(const std::string& folder, const std::function<std::string()>& scenario) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(kSkip);
        }
        const std::string failure = scenario();
        if (!failure.empty())
            std::fprintf(stderr, "scenario: %s\n", failure.c_str());
        ::_exit(failure.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kSkip)
        GTEST_SKIP() << "cannot mount a private tmpfs here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// An editor on `folder`/Splines.xml whose first save succeeded.
struct SavedEditor {
    explicit SavedEditor(const std::string& folder) : dlg(folder + "/Splines.xml") {
        dlg.Attach(host);
        dlg.OnInitDialog();
        dlg.Dispatch(Message{WM_KEYDOWN, 'S', {}});
        saved = ReadFile(folder + "/Splines.xml");
    }
    // Adds `count` points, so that the next save needs more room.
    void AddPoints(int count) {
        for (int i = 0; i < count; ++i) {
            const Point p{10 + (i * 7) % 460, 10 + (i * 11) % 340};
            dlg.Dispatch(Message{WM_LBUTTONDOWN, MK_LBUTTON, p});
            dlg.Dispatch(Message{WM_LBUTTONUP, 0, p});
        }
    }
    HeadlessHost host;
    CVelmoraDlg dlg;
    std::string saved;
};

// `what`, followed by a blank, when the condition fails.
std::string Check(bool condition, const char* what) {
    return condition ? "" : std::string(what) + "; ";
}

TEST(DiskFailures, AFullDiskLeavesTheFileAndTheNotesAndTheNextSaveWorks) {
    TempDir dir;
    const std::string folder = dir.Path().string();
    RunOnTinyDisk(folder, [&]() -> std::string {
        SavedEditor editor(folder);
        if (editor.saved.empty())
            return "the first save wrote nothing";
        // Fill the disk, then ask for a save that needs more room.
        {
            std::ofstream filler(folder + "/filler", std::ios::binary);
            const std::string block(1024, 'x');
            while (filler.write(block.data(), block.size())) {
            }
        }
        editor.AddPoints(200);
        // The save stores the working copy first; nothing else may change.
        NoteSet expected = editor.dlg.NoteSplines();
        expected[0][0] = editor.dlg.Points();
        const size_t points = editor.dlg.Points().size();
        editor.dlg.Dispatch(Message{WM_KEYDOWN, 'S', {}});
        std::string failure;
        failure += Check(editor.host.Warnings().size() == 1, "the full disk was not told");
        failure += Check(ReadFile(folder + "/Splines.xml") == editor.saved, "the file changed");
        failure += Check(points > 100, "too few points to fill the disk");
        failure += Check(editor.dlg.NoteSplines() == expected, "the notes changed");
        failure += Check(editor.dlg.Points().size() == points, "the working copy changed");
        std::remove((folder + "/filler").c_str());
        editor.dlg.Dispatch(Message{WM_KEYDOWN, 'S', {}});
        failure += Check(editor.host.Warnings().size() == 1, "the save after freeing room failed");
        failure += Check(ReadFile(folder + "/Splines.xml") != editor.saved, "nothing was saved");
        return failure;
    });
}

TEST(DiskFailures, AReadOnlyFolderLeavesTheFileAndTheNextSaveWorks) {
    TempDir dir;
    const std::string folder = dir.Path().string();
    RunOnTinyDisk(folder, [&]() -> std::string {
        SavedEditor editor(folder);
        if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return "cannot remount read-only";
        editor.AddPoints(3);
        editor.dlg.Dispatch(Message{WM_KEYDOWN, 'S', {}});
        std::string failure;
        failure += Check(editor.host.Warnings().size() == 1, "the read-only folder was not told");
        failure += Check(ReadFile(folder + "/Splines.xml") == editor.saved, "the file changed");
        if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT, nullptr) != 0)
            return failure + "cannot remount writable";
        editor.dlg.Dispatch(Message{WM_KEYDOWN, 'S', {}});
        failure += Check(editor.host.Warnings().size() == 1, "the save after remounting failed");
        failure += Check(ReadFile(folder + "/Splines.xml") != editor.saved, "nothing was saved");
        return failure;
    });
}

}  // namespace
}  // namespace velmora
