// A save killed at any moment never leaves a damaged spline file: the file is
// always one of the versions saved, a killed save's temporary file is cleaned
// up by the next save, and no other file in the folder is ever touched.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32/win32_api.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "io/disk/safe_write.h"
#include "io/spline_file.h"
#include "io/xml/spline_writer.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

constexpr Rect kClient{0, 0, 480, 360};
constexpr int kVersions = 5;

// Version v of the notes: sizes differ so that a torn file cannot pass for a
// whole one.
NoteSet Version(int v) {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        for (int s = 0; s <= (v * 7 + n) % 40; ++s) {
            Spline spline;
            for (int p = 0; p < 2 + (v + s) % 9; ++p)
                spline.push_back({v * 10 + p, n * 20 + s});
            notes[n].push_back(spline);
        }
    }
    return notes;
}

// The temporary files a save left in `folder`.
int TemporaryFiles(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (IsTemporaryOf(entry.path().filename().string(), "Splines.xml"))
            ++count;
    }
    return count;
}

// A file system without unnamed files: every save goes through a hidden name.
class HiddenNamesOnly : public FileSystem {
public:
    Status CreateUnnamed(const std::string&, FileHandle*) const override {
        return SystemFailure(EOPNOTSUPP, StatusCode::kNotSupported);
    }
};

// Saves version after version into `path` until killed, once `begun` has
// told the parent that it runs.
[[noreturn]] void SaveUntilKilled(const std::string& path, int round,
                                  const std::function<void()>& begun) {
    const HiddenNamesOnly ops;
    SplineFile file(path, ops);
    begun();
    for (int v = round;; ++v)
        file.Save(Version(v % kVersions), kClient.right, kClient.bottom);
}

#ifdef _WIN32
// Windows has no fork: the child is this program again, running only the
// case below, told what to do through the environment.
constexpr const char* kChildTask = "VELMORA_SAVE_UNTIL_KILLED";

TEST(KillDuringSave, ChildSavesUntilKilled) {
    const char* task = std::getenv(kChildTask);
    if (task == nullptr)
        GTEST_SKIP() << "run only as the child of the case below";
    std::istringstream in(task);
    int round = 0;
    std::uintptr_t begun = 0;
    std::string path;
    in >> round >> begun >> std::ws;
    std::getline(in, path);
    SaveUntilKilled(path, round, [&] { SetEvent(reinterpret_cast<HANDLE>(begun)); });
}

// A child saving into `path` until killed, running once constructed.
class Saver {
public:
    Saver(const std::string& path, int round) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        const HANDLE begun = CreateEventW(&inherited, TRUE, FALSE, nullptr);
        const std::string task = std::to_string(round) + " " +
                                 std::to_string(reinterpret_cast<std::uintptr_t>(begun)) + " " +
                                 path;
        SetEnvironmentVariableA(kChildTask, task.c_str());
        std::string line = "test_fault --gtest_filter=KillDuringSave.ChildSavesUntilKilled";
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        STARTUPINFOA startup{};  // its test output goes nowhere
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = INVALID_HANDLE_VALUE;
        m_started = CreateProcessA(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &startup, &m_child) != 0;
        SetEnvironmentVariableA(kChildTask, nullptr);
        if (m_started) {
            CloseHandle(m_child.hThread);
            const HANDLE either[] = {begun, m_child.hProcess};
            WaitForMultipleObjects(2, either, FALSE, INFINITE);
        }
        CloseHandle(begun);
    }
    bool Started() const { return m_started; }
    // Whether it was still saving when killed.
    bool Kill() {
        TerminateProcess(m_child.hProcess, 99);
        WaitForSingleObject(m_child.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(m_child.hProcess, &code);
        CloseHandle(m_child.hProcess);
        return code == 99;
    }

private:
    PROCESS_INFORMATION m_child{};
    bool m_started = false;
};

// Under Wine each child takes a while to start.
constexpr int kKills = 40;
#else
// A forked child saving into `path` until killed, running once constructed.
class Saver {
public:
    Saver(const std::string& path, int round) {
        int running[2];
        if (::pipe(running) != 0)
            return;
        m_child = ::fork();
        if (m_child == 0)
            SaveUntilKilled(path, round, [&] { (void)!::write(running[1], "", 1); });
        char byte = 0;
        if (m_child > 0)
            (void)!::read(running[0], &byte, 1);
        ::close(running[0]);
        ::close(running[1]);
    }
    bool Started() const { return m_child > 0; }
    bool Kill() {
        ::kill(m_child, SIGKILL);
        int status = 0;
        return ::waitpid(m_child, &status, 0) == m_child && WIFSIGNALED(status);
    }

private:
    pid_t m_child = -1;
};

constexpr int kKills = 200;
#endif

// Files people keep beside the spline file, each holding its own name.
const char* const kNeighbours[] = {"Splines.xml.backup",
                                   "Splines.xml.241207",
                                   "Splines.xml.copy01",
                                   "Splines.xml.OLDv02",
                                   "Splines.xml.bak",
                                   "Splines.xml.orig",
                                   "Splines.xml.tmp",
                                   "Splines.xml.swp",
                                   "Splines.xml~",
                                   ".Splines.xml.swp",
                                   ".Splines.xml.123456.velmora-save~"};

// Saves under hidden names leave a file behind when killed, which the next
// save must clean up without touching any other file.
TEST(KillDuringSave, TheFileIsAlwaysOneWholeVersionAndNothingElseIsTouched) {
    const HiddenNamesOnly ops;
    TempDir dir;
    const std::string path = dir.File("Splines.xml");
    for (const char* name : kNeighbours)
        testing_support::WriteFile(dir.File(name), name);

    std::set<std::string> versions;
    for (int v = 0; v < kVersions; ++v)
        versions.insert(PrintSplines(Version(v), kClient.right, kClient.bottom));
    // A hundred saves time one save, so that each kill below lands anywhere
    // in the first three saves of a child that is already running.
    const auto start = std::chrono::steady_clock::now();
    for (int save = 0; save < 100; ++save) {
        ASSERT_TRUE(SplineFile(path, ops)
                        .Save(Version(save % kVersions), kClient.right, kClient.bottom)
                        .status.ok());
    }
    const auto oneSave = std::chrono::duration_cast<std::chrono::microseconds>(
        (std::chrono::steady_clock::now() - start) / 100);
    std::mt19937 random(12345);
    std::uniform_int_distribution<long long> delayMicros(0, 3 * oneSave.count() + 1);
    int killedWithTemporaryLeft = 0;
    for (int round = 0; round < kKills; ++round) {
        Saver child(path, round);
        ASSERT_TRUE(child.Started());
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ASSERT_TRUE(child.Kill()) << "round " << round;

        ASSERT_EQ(versions.count(ReadFile(path)), 1u) << "round " << round;
        // At most the one temporary file of the save that was killed: every
        // save first clears those of earlier killed saves.
        const int temporaries = TemporaryFiles(dir.Path());
        ASSERT_LE(temporaries, 1) << "round " << round;
        killedWithTemporaryLeft += temporaries;
    }
    ASSERT_TRUE(SplineFile(path, ops).Save(Version(1), kClient.right, kClient.bottom).status.ok());
    EXPECT_EQ(TemporaryFiles(dir.Path()), 0);
    EXPECT_EQ(ReadFile(path), PrintSplines(Version(1), kClient.right, kClient.bottom));
    for (const char* name : kNeighbours)
        EXPECT_EQ(ReadFile(dir.File(name)), name);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}),
              std::size(kNeighbours) + 1);
    RecordProperty("kills_with_a_temporary_file_left", killedWithTemporaryLeft);
    // The kills did land in the middle of saves.
    EXPECT_GT(killedWithTemporaryLeft, 0);
}

}  // namespace
}  // namespace velmora
