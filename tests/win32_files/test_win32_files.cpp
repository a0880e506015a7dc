// The Windows file calls on real files (under Wine here): names, retries
// while another handle holds a file, replacing, the writer question, the
// backup's link or copy, and the folder watch.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "io/disk/win32/folder_watch.h"
#include "io/disk/win32/win32_files.h"

namespace velmora::win32 {
namespace {

TEST(Win32FilesTest, RetriesOnlyWhileAnotherProgramHoldsTheFile) {
    const uint32_t held = ERROR_SHARING_VIOLATION;
    const struct {
        std::vector<uint32_t> errors;  // what each attempt fails with; then success
        uint32_t result;
        uint32_t slept;  // milliseconds in all
    } cases[] = {
        {std::vector<uint32_t>(5, held), 0, 310},  // held for 300 ms
        {{ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED}, 0, 30},
        {std::vector<uint32_t>(20, held), held, kRetryBudgetMs},  // held for good
        {{held, ERROR_DISK_FULL}, ERROR_DISK_FULL, 10},           // no other error is retried
    };
    for (const auto& c : cases) {
        std::size_t attempts = 0;
        uint32_t slept = 0;
        EXPECT_EQ(Retrying([&] { return attempts < c.errors.size() ? c.errors[attempts++] : 0u; },
                           [&](uint32_t ms) { slept += ms; }),
                  c.result);
        EXPECT_EQ(slept, c.slept) << c.errors.size();
    }
}

TEST(Win32FilesTest, NamesAsWindowsTakesThem) {
    const std::pair<std::string, std::wstring> paths[] = {
        {"C:/Notes/old\\..\\Splines.xml", L"\\\\?\\C:\\Notes\\Splines.xml"},
        {"\\\\server\\share\\Splines.xml", L"\\\\?\\UNC\\server\\share\\Splines.xml"},
        {"C:\\Caf\xC3\xA9 \xE3\x83\x8E\xE3\x83\xBC\xE3\x83\x88",
         L"\\\\?\\C:\\Caf\u00E9 \u30CE\u30FC\u30C8"},
        {"", L""},
        {"C:\\bad\xFF", L""},
        {std::string("C:\\a\0b", 6), L""},
    };
    for (const auto& [path, extended] : paths)
        EXPECT_EQ(ExtendedPath(path), extended) << path;
    EXPECT_TRUE(SameName("Caf\xC3\xA9.xml", "CAF\xC3\x89.XML"));
    EXPECT_FALSE(SameName("Splines.xml", "Splines.xml.bak"));
}

// A new scratch folder (in the build's own Wine prefix) whose full name is past the
// 260-character limit.
std::string ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    std::string folder = Utf8FromWide(temp) + "velmora-" + std::to_string(GetTickCount64());
    CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr);
    for (char part = 'a'; part < 'g'; ++part) {
        folder += "\\" + std::string(50, part);
        CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr);
    }
    return folder;
}

bool Write(const std::string& path, const std::string& bytes) {
    uint32_t error = 0;
    HANDLE file = OpenShared(path, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, error);
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
    return CloseHandle(file) != 0 && ok;
}

std::string Read(const std::string& path) {
    uint32_t error = 0;
    HANDLE file = OpenShared(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, error);
    std::string bytes(64, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes.substr(0, read);
}

// Holds `path` open, sharing nothing, for `ms` milliseconds from now.
std::thread HoldExclusively(const std::string& path, int ms) {
    HANDLE held = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    return std::thread([held, ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        CloseHandle(held);
    });
}

TEST(Win32FilesTest, ReplacesKeepsAndTellsOnRealFiles) {
    const std::string dir = ScratchFolder();
    const std::string file = dir + "\\Splines.xml";
    const std::string fresh = dir + "\\.Splines.xml.new";
    ASSERT_GT(dir.size(), 260u);
    ASSERT_TRUE(Write(file, "old"));
    FolderWatch watch(dir);
    ASSERT_TRUE(watch.Open()) << watch.Error();

    uint32_t error = 0;
    HANDLE writer = OpenShared(file, GENERIC_WRITE, OPEN_EXISTING, 0, error);
    EXPECT_EQ(HeldForWriting(file, error), 1);
    CloseHandle(writer);
    EXPECT_EQ(HeldForWriting(file, error), 0);

    EXPECT_EQ(LinkOrCopy(file, file + ".bak"), 0u);
    EXPECT_EQ(Read(file + ".bak"), "old");
    EXPECT_NE(LinkOrCopy(file, file + ".bak"), 0u);  // never over a file

    ASSERT_TRUE(Write(fresh, "new"));
    std::thread holder = HoldExclusively(file, 300);
    EXPECT_EQ(Replace(fresh, file), 0u);  // waited out
    holder.join();
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(WaitForSingleObject(watch.Handle(), 2000), WAIT_OBJECT_0);
    EXPECT_TRUE(watch.Take());

    ASSERT_TRUE(Write(fresh, "newer"));
    holder = HoldExclusively(file, 3000);
    EXPECT_TRUE(HeldByAnotherProgram(Replace(fresh, file)));  // given up, nothing lost
    holder.join();
    EXPECT_EQ(Read(file) + Read(fresh), "newnewer");

    SetFileAttributesW(ExtendedPath(file).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Replace(fresh, file), static_cast<uint32_t>(ERROR_FILE_READ_ONLY));
    EXPECT_EQ(Read(file), "new");
}

}  // namespace
}  // namespace velmora::win32
