// The editor's save while a real second program holds Splines.xml open and
// shares nothing, as a virus scanner or an indexer does for a moment.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "io/disk/safe_write.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

#include <windows.h>
#undef ReplaceFile  // Windows' own call of that name, not the save

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

struct HeldCase {
    const char* name;
    int heldMs;
    bool saved;
    std::string file;  // Splines.xml afterwards
};

class SaveHeld : public ::testing::TestWithParam<HeldCase> {};

TEST_P(SaveHeld, WaitsForTheOtherProgramOrTellsOfIt) {
    const HeldCase& c = GetParam();
    const TempDir dir;
    const std::string file = dir.File("Splines.xml");
    WriteFile(file, "old");
    std::wstring command = L"hold_file.exe \"" + std::filesystem::path(file).wstring() + L"\" " +
                           std::to_wstring(c.heldMs);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &start, &child));
    for (int i = 0; i < 500 && !std::filesystem::exists(file + ".held"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists(file + ".held"));

    const WriteOutcome outcome = ReplaceFile(file, "new");
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(outcome.status.ok(), c.saved) << outcome.status.reason;
    if (!c.saved) {
        EXPECT_NE(outcome.status.reason.find("another program holds the file"), std::string::npos)
            << outcome.status.reason;
    }
    EXPECT_EQ(ReadFile(file), c.file);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveHeld,
                         ::testing::Values(HeldCase{"ForAMoment", 300, true, "new"},
                                           HeldCase{"ThroughoutTheRetries", 9000, false, "old"}),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
