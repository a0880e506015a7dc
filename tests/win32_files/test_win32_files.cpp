// The Windows file calls on real files (under Wine here): names, retries
// while another handle holds a file, replacing, the writer question, the
// identity and the backup's link or copy.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "io/disk/win32/folder_watch.h"
#include "io/disk/win32/win32_files.h"

namespace velmora::win32 {
namespace {

struct RetryCase {
    const char* name;
    std::vector<uint32_t> errors;  // what each attempt fails with; then success
    uint32_t result;
    uint32_t slept;  // milliseconds in all
};

TEST(Win32FilesTest, RetriesOnlyWhileAnotherProgramHoldsTheFile) {
    const std::vector<uint32_t> never(20, ERROR_SHARING_VIOLATION);
    const RetryCase cases[] = {
        {"AtOnce", {}, 0, 0},
        {"HeldFor300ms", std::vector<uint32_t>(5, ERROR_SHARING_VIOLATION), 0, 310},
        {"ScannerDeniesThenDone", {ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED}, 0, 30},
        {"HeldForever", never, ERROR_SHARING_VIOLATION, kRetryBudgetMs},
        {"DiskFullIsNotRetried", {ERROR_DISK_FULL}, ERROR_DISK_FULL, 0},
        {"HeldThenDiskFull", {ERROR_SHARING_VIOLATION, ERROR_DISK_FULL}, ERROR_DISK_FULL, 10},
    };
    for (const RetryCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t attempts = 0;
        uint32_t slept = 0;
        const uint32_t result = Retrying(
            [&] { return attempts < c.errors.size() ? c.errors[attempts++] : (++attempts, 0u); },
            [&](uint32_t ms) { slept += ms; });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(slept, c.slept);
    }
}

TEST(Win32FilesTest, NamesAsWindowsTakesThem) {
    const struct {
        std::string path;
        std::wstring extended;
    } paths[] = {
        {"C:/Notes/Splines.xml", L"\\\\?\\C:\\Notes\\Splines.xml"},
        {"C:\\Notes\\old\\..\\Splines.xml", L"\\\\?\\C:\\Notes\\Splines.xml"},
        {"\\\\server\\share\\Splines.xml", L"\\\\?\\UNC\\server\\share\\Splines.xml"},
        {"\\\\?\\C:\\a/b", L"\\\\?\\C:\\a\\b"},
        {"C:\\Caf\xC3\xA9 \xE3\x83\x8E\xE3\x83\xBC\xE3\x83\x88",
         L"\\\\?\\C:\\Caf\u00E9 \u30CE\u30FC\u30C8"},
        {"", L""},
        {"C:\\bad\xFF", L""},
        {std::string("C:\\a\0b", 6), L""},
    };
    for (const auto& p : paths)
        EXPECT_EQ(ExtendedPath(p.path), p.extended) << p.path;

    const struct {
        const char* a;
        const char* b;
        bool same;
    } names[] = {
        {"Splines.xml", "splines.XML", true},
        {"Caf\xC3\xA9", "CAF\xC3\x89", true},
        {"Splines.xml", "Splines.xml.bak", false},
        {"Splines.xml", "Splines.xm", false},
    };
    for (const auto& n : names)
        EXPECT_EQ(SameName(n.a, n.b), n.same) << n.a << " " << n.b;
}

// A scratch folder whose full name is past the 260-character limit.
class Scratch {
public:
    Scratch() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = Utf8FromWide(temp) + "velmora-files-" + std::to_string(GetCurrentProcessId());
        for (int i = 0; i < 6; ++i)
            m_folder += "\\" + std::string(50, static_cast<char>('a' + i));
        std::string made;
        for (std::size_t at = 0; at != std::string::npos;) {
            at = m_folder.find('\\', at + 1);
            made = m_folder.substr(0, at);
            CreateDirectoryW(ExtendedPath(made).c_str(), nullptr);
        }
    }
    std::string File(const char* name) const { return m_folder + "\\" + name; }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

bool Write(const std::string& path, const std::string& bytes) {
    uint32_t error = 0;
    HANDLE file = OpenShared(path, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, error);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
        FlushFileBuffers(file) != 0;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

std::string Read(const std::string& path) {
    uint32_t error = 0;
    HANDLE file = OpenShared(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, error);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Holds `path` open without sharing it for `ms` milliseconds from now.
std::thread HoldExclusively(const std::string& path, int ms) {
    HANDLE held = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_NE(held, INVALID_HANDLE_VALUE);
    return std::thread([held, ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        CloseHandle(held);
    });
}

TEST(Win32FilesTest, ReplacesKeepsAndTellsOnRealFiles) {
    const Scratch dir;
    ASSERT_GT(dir.Folder().size(), 260u);
    const std::string file = dir.File("Splines.xml");
    const std::string fresh = dir.File(".Splines.xml.new");
    ASSERT_TRUE(Write(file, "old"));
    Identity before;
    ASSERT_EQ(IdentityOf(file, before), 0u);

    // The writer question, by a second handle open for writing.
    uint32_t error = 0;
    HANDLE writer = OpenShared(file, GENERIC_WRITE, OPEN_EXISTING, 0, error);
    EXPECT_EQ(HeldForWriting(file, error), 1);
    CloseHandle(writer);
    EXPECT_EQ(HeldForWriting(file, error), 0);
    EXPECT_EQ(HeldForWriting(dir.File("none.xml"), error), -1);

    // The backup: the same bytes under a new name, and never over a file.
    EXPECT_EQ(LinkOrCopy(file, dir.File("Splines.xml.bak")), 0u);
    EXPECT_EQ(Read(dir.File("Splines.xml.bak")), "old");
    EXPECT_NE(LinkOrCopy(file, dir.File("Splines.xml.bak")), 0u);

    // Held for 300 ms: the replace waits and succeeds.
    ASSERT_TRUE(Write(fresh, "new"));
    std::thread holder = HoldExclusively(file, 300);
    EXPECT_EQ(Replace(fresh, file), 0u);
    holder.join();
    EXPECT_EQ(Read(file), "new");
    Identity after;
    ASSERT_EQ(IdentityOf(file, after), 0u);
    EXPECT_FALSE(after == before);

    // Held beyond the retries: refused as held, both files as they were.
    ASSERT_TRUE(Write(fresh, "newer"));
    holder = HoldExclusively(file, 3000);
    EXPECT_TRUE(HeldByAnotherProgram(Replace(fresh, file)));
    holder.join();
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(Read(fresh), "newer");

    // A read-only file is not replaced, at once.
    ASSERT_NE(SetFileAttributesW(ExtendedPath(file).c_str(), FILE_ATTRIBUTE_READONLY), 0);
    EXPECT_EQ(Replace(fresh, file), static_cast<uint32_t>(ERROR_FILE_READ_ONLY));
    EXPECT_EQ(Read(file), "new");
    SetFileAttributesW(ExtendedPath(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Replace(fresh, file), 0u);
    EXPECT_EQ(Read(file), "newer");
}

// Each step in the folder signals the watch's handle; nothing else does.
TEST(Win32FilesTest, FolderWatchSignalsEachChange) {
    const Scratch dir;
    EXPECT_FALSE(FolderWatch(dir.File("none")).Open());
    ASSERT_TRUE(Write(dir.File("plain"), "x"));
    EXPECT_FALSE(FolderWatch(dir.File("plain")).Open());

    FolderWatch watch(dir.Folder());
    ASSERT_TRUE(watch.Open()) << watch.Error();
    const auto settle = [&watch] {
        while (WaitForSingleObject(watch.Handle(), 200) == WAIT_OBJECT_0)
            watch.Take();
    };
    settle();
    EXPECT_FALSE(watch.Take());
    const std::function<bool()> steps[] = {
        [&] { return Write(dir.File("Splines.xml"), "a"); },
        [&] {
            return Write(dir.File(".new"), "b") &&
                   Replace(dir.File(".new"), dir.File("Splines.xml")) == 0;
        },
        [&] { return DeleteFileW(ExtendedPath(dir.File("Splines.xml")).c_str()) != 0; },
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(step());
        EXPECT_EQ(WaitForSingleObject(watch.Handle(), 2000), WAIT_OBJECT_0);
        EXPECT_TRUE(watch.Take());
        settle();
    }
}

}  // namespace
}  // namespace velmora::win32
