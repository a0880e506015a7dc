#include "io/disk/file_watch.h"

#include <fcntl.h>
#include <unistd.h>
#ifdef _WIN32
#include "platform/win32/win32_api.h"
#else
#include <poll.h>
#endif

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "io/spline_file.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::WriteFile;

// A system without inotify, or one whose instances are all taken.
class NoInotify : public FileSystem {
public:
    Status OpenWatch(bool, std::unique_ptr<WatchPort>* port) const override {
        return FileSystem::OpenWatch(false, port);
    }
};

// Notes that differ for each `mark`.
NoteSet Notes(int mark) {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n)
        notes[static_cast<std::size_t>(n)] = {{Point{mark, n}, Point{n, mark}}};
    return notes;
}

// Waits up to `ms` for `ready`, as a game loop would.
void Wait(Waitable ready, int ms) {
#ifdef _WIN32
    WaitForSingleObject(reinterpret_cast<HANDLE>(ready.native), static_cast<DWORD>(ms));
#else
    pollfd readable{static_cast<int>(ready.native), POLLIN, 0};
    ::poll(&readable, 1, ms);
#endif
}

// A folder "game" with Splines.xml in it, which is either the file or a
// link to "../real/Splines.xml", and a watch on it.
struct Scene {
    Scene(bool link, const FileSystem& fs) {
        std::filesystem::create_directory(dir.Path() / "game");
        std::filesystem::create_directory(dir.Path() / "real");
        if (link)
            std::filesystem::create_symlink("../real/Splines.xml", path);
        Save(0);
        watch = FileWatch::Open(path, fs);
    }

    // The editor's save, as its S key makes it.
    void Save(int mark) { ASSERT_TRUE(SplineFile(path).Save(Notes(mark), 480, 360).status.ok()); }

    // Whether the watch tells of a change within `ms`, waiting on its
    // descriptor as a game loop would.
    bool Changes(int ms = 3000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            const int changed = watch->Changed();
            EXPECT_GE(changed, 0);
            if (changed != 0)
                return changed > 0;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0)
                return false;
            Wait(watch->Ready(), static_cast<int>(left));
        }
    }

    testing_support::TempDir dir;
    std::string path = dir.File("game/Splines.xml");
    std::unique_ptr<FileWatch> watch;
};

struct WatchCase {
    const char* name;
    bool link;
    bool inotify;
    void (*act)(Scene&);                 // changes the file, checking what the watch says
    const char* notOnWindows = nullptr;  // why the row cannot run there
};

constexpr const char* kLinks = "symbolic links are POSIX only here";

// Longer than two ticks of the timer: a change would have shown by then.
constexpr int kQuiet = 400;

// A program rewrites the file in place in two parts with a pause between,
// holding it open: only the whole is a change.
void WriteInTwoParts(Scene& s, bool touch) {
    const int fd = ::open(s.path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "<NewNoteSpline Index=\"0\" />\n", 27), 27);
    if (touch)
        ::close(::open(s.path.c_str(), O_WRONLY));
    EXPECT_FALSE(s.Changes(kQuiet));
    ASSERT_EQ(::write(fd, "<NewNoteSpline Index=\"1\" />\n", 27), 27);
    ::close(fd);
    EXPECT_TRUE(s.Changes());
}

const WatchCase kWatchCases[] = {
    {"EditorSave", false, true,
     [](Scene& s) {
         s.Save(1);
         EXPECT_TRUE(s.Changes());
     }},
    {"SameBytesAgain", false, true,
     [](Scene& s) {
         s.Save(0);
         WriteFile(s.path, testing_support::ReadFile(s.path));
     }},
    {"BurstIsOneChange", false, true,
     [](Scene& s) {
         for (int mark = 1; mark <= 5; ++mark)
             s.Save(mark);
         EXPECT_TRUE(s.Changes());
     }},
    {"InPlaceWriterOnlyOnceClosed", false, true,
     [](Scene& s) {
         const int fd = ::open(s.path.c_str(), O_WRONLY | O_TRUNC);
         ASSERT_GE(fd, 0);
         ASSERT_EQ(::write(fd, "<Half", 5), 5);
         EXPECT_FALSE(s.Changes(kQuiet));
         ASSERT_EQ(::write(fd, " />\n", 4), 4);
         ::close(fd);
         EXPECT_TRUE(s.Changes());
     }},
    {"DeletedAndCreatedAgain", false, true,
     [](Scene& s) {
         ASSERT_EQ(::unlink(s.path.c_str()), 0);
         EXPECT_TRUE(s.Changes());
         s.Save(2);
         EXPECT_TRUE(s.Changes());
     }},
    {"LinkTargetReplaced", true, true,
     [](Scene& s) {
         s.Save(1);
         EXPECT_TRUE(std::filesystem::is_symlink(s.path));
         EXPECT_TRUE(s.Changes());
     },
     kLinks},
    {"LinkRepointedElsewhere", true, true,
     [](Scene& s) {
         std::filesystem::create_directory(s.dir.Path() / "other");
         WriteFile(s.dir.File("other/Splines.xml"), "<Other />\n");
         const std::string fresh = s.dir.File("game/fresh");
         std::filesystem::create_symlink("../other/Splines.xml", fresh);
         ASSERT_EQ(std::rename(fresh.c_str(), s.path.c_str()), 0);
         EXPECT_TRUE(s.Changes());
         // The new target's folder is watched now.
         s.Save(3);
         EXPECT_TRUE(s.Changes());
     },
     kLinks},
    {"PollingWithoutInotify", true, false,
     [](Scene& s) {
         s.Save(0);
         EXPECT_FALSE(s.Changes(kQuiet));
         s.Save(1);
         EXPECT_TRUE(s.Changes());
     },
     kLinks},
    // Another program touching the file (open for writing and close) while
    // the writer pauses does not make the first half a version.
    {"WriterHoldsItAcrossATouch", false, true, [](Scene& s) { WriteInTwoParts(s, true); }},
    {"WriterHoldsItAcrossPolls", false, false, [](Scene& s) { WriteInTwoParts(s, false); }},
    {"FolderReplacedByALinkThenRepointed", false, true,
     [](Scene& s) {
         for (const char* release : {"v1", "v2"}) {
             std::filesystem::create_directory(s.dir.Path() / release);
             WriteFile(s.dir.File(release + std::string("/Splines.xml")), release);
         }
         std::filesystem::rename(s.dir.Path() / "game", s.dir.Path() / "old");
         std::filesystem::create_directory_symlink("v1", s.dir.Path() / "game");
         EXPECT_TRUE(s.Changes());
         std::filesystem::create_directory_symlink("v2", s.dir.Path() / "next");
         std::filesystem::rename(s.dir.Path() / "next", s.dir.Path() / "game");
         EXPECT_TRUE(s.Changes());
         s.Save(4);  // into v2
         EXPECT_TRUE(s.Changes());
     },
     kLinks},
    {"FolderGoneAndBack", false, true,
     [](Scene& s) {
         std::filesystem::rename(s.dir.Path() / "game", s.dir.Path() / "old");
         EXPECT_TRUE(s.Changes());
         EXPECT_TRUE(s.watch->FolderMissing());
         std::filesystem::create_directory(s.dir.Path() / "game");
         s.Save(5);
         EXPECT_TRUE(s.Changes());
         EXPECT_FALSE(s.watch->FolderMissing());
     }},
};

class FileWatchTest : public ::testing::TestWithParam<WatchCase> {};

// After what the case checks, nothing more is reported: one change per
// burst, and none for the same bytes.
TEST_P(FileWatchTest, TellsEachChangeOfContentOnce) {
#ifdef _WIN32
    if (GetParam().notOnWindows)
        GTEST_SKIP() << GetParam().notOnWindows;
#endif
    const NoInotify noInotify;
    Scene scene(GetParam().link, GetParam().inotify ? SystemFileSystem() : noInotify);
    ASSERT_NE(scene.watch, nullptr);
    EXPECT_EQ(scene.watch->Polling(), !GetParam().inotify);
    GetParam().act(scene);
    EXPECT_FALSE(scene.Changes(kQuiet));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileWatchTest, ::testing::ValuesIn(kWatchCases),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
