// `velmora-tool watch` run as a game's build would run it: it follows the
// editor's saves into OUT and stops cleanly on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "io/spline_file.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace velmora {
namespace {

using testing_support::ReadFile;

NoteSet Notes(int mark) {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n)
        notes[static_cast<std::size_t>(n)] = {{Point{mark, n}, Point{100 + n, 50 + mark}}};
    return notes;
}

// Waits up to 5 s for the file at `path` to hold something other than `old`.
std::string NewContent(const std::string& path, const std::string& old) {
    for (int i = 0; i < 500; ++i) {
        const std::string now = ReadFile(path);
        if (now != old)
            return now;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return old;
}

// What `export` writes for the file at `in`.
std::string Exported(const testing_support::TempDir& dir, const std::string& in) {
    const std::string ref = dir.File("reference.csv");
    const std::string command =
        std::string(VELMORA_TOOL) + " export " + in + " --format csv -o " + ref;
    EXPECT_EQ(std::system(command.c_str()), 0);
    return ReadFile(ref);
}

TEST(WatchVerb, ExportsEachSaveAsExportDoesAndStopsOnSigterm) {
    testing_support::TempDir dir;
    const std::string in = dir.File("Splines.xml");
    const std::string out = dir.File("out.csv");
    const std::string ran = dir.File("ran");
    ASSERT_TRUE(SplineFile(in).Save(Notes(1), 480, 360).status.ok());

    const std::string exec = "echo x >>" + ran;
    const char* argv[] = {VELMORA_TOOL, "watch",     in.c_str(), "--format",   "csv",
                          "-o",         out.c_str(), "--exec",   exec.c_str(), nullptr};
    pid_t tool = 0;
    ASSERT_EQ(posix_spawn(&tool, VELMORA_TOOL, nullptr, nullptr, const_cast<char**>(argv), environ),
              0);

    const std::string first = NewContent(out, "<missing>");
    EXPECT_EQ(first, Exported(dir, in));
    EXPECT_EQ(NewContent(ran, "<missing>"), "x\n");
    // The editor's save of the same notes writes the same bytes: no export.
    ASSERT_TRUE(SplineFile(in).Save(Notes(1), 480, 360).status.ok());
    ASSERT_TRUE(SplineFile(in).Save(Notes(2), 480, 360).status.ok());
    const std::string second = NewContent(out, first);
    EXPECT_EQ(second, Exported(dir, in));
    EXPECT_NE(second, first);
    EXPECT_EQ(NewContent(ran, "x\n"), "x\nx\n");

    ASSERT_EQ(::kill(tool, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(tool, &status, 0), tool);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(ran), "x\nx\n");
}

// SIGTERM while the command runs ends the watch at once, with the command.
TEST(WatchVerb, SigtermDuringTheCommandEndsBothWithinTwoSeconds) {
    testing_support::TempDir dir;
    const std::string in = dir.File("Splines.xml");
    ASSERT_TRUE(SplineFile(in).Save(Notes(1), 480, 360).status.ok());
    const std::string out = dir.File("out.json");
    const std::string exec = "echo $$ >" + dir.File("pid") + "; exec sleep 30";
    const char* argv[] = {VELMORA_TOOL, "watch",  in.c_str(),   "-o",
                          out.c_str(),  "--exec", exec.c_str(), nullptr};
    pid_t tool = 0;
    ASSERT_EQ(posix_spawn(&tool, VELMORA_TOOL, nullptr, nullptr, const_cast<char**>(argv), environ),
              0);
    NewContent(dir.File("pid"), "<missing>");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const pid_t command = std::atoi(ReadFile(dir.File("pid")).c_str());
    ASSERT_GT(command, 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(::kill(tool, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(tool, &status, 0), tool);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string state = ReadFile("/proc/" + std::to_string(command) + "/stat");
    EXPECT_TRUE(state == "<missing>" || state.find(") Z ") != std::string::npos) << state;
}

}  // namespace
}  // namespace velmora
