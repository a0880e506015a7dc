// Failures of system calls that no file system produces on demand: each
// fails the step and leaves the folder exactly as it was.
#include <cerrno>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "io/disk/backup.h"
#include "io/disk/safe_write.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

enum class Call { kFchmod, kAccess, kRead, kFstat };

// Fails `call` with `error`; every other call goes to the system.
class FailingCall : public FileSystem {
public:
    FailingCall(Call call, int error) : m_call(call), m_error(error) {}
    Status SetPermissions(const FileHandle& file, unsigned permissions) const override {
        return Fails(Call::kFchmod) ? Failure() : FileSystem::SetPermissions(file, permissions);
    }
    Status MayWrite(const std::string& path) const override {
        return Fails(Call::kAccess) ? Failure() : FileSystem::MayWrite(path);
    }
    Status Read(const FileHandle& file, void* data, std::size_t size,
                std::size_t* got) const override {
        return Fails(Call::kRead) ? Failure() : FileSystem::Read(file, data, size, got);
    }
    Status InspectOpen(const FileHandle& file, FileInfo* info) const override {
        return Fails(Call::kFstat) ? Failure() : FileSystem::InspectOpen(file, info);
    }

private:
    bool Fails(Call call) const { return call == m_call; }
    Status Failure() const { return SystemFailure(m_error); }
    Call m_call;
    int m_error;
};

struct Case {
    const char* name;
    Call call;
    int error;
    bool backup;         // KeepBackup of the file read in chunks, else ReplaceFile
    const char* reason;  // how the reason begins
};

class FailingCallTest : public ::testing::TestWithParam<Case> {};

TEST_P(FailingCallTest, FailsNamingTheFileAndLeavesTheFolderAsItWas) {
    const Case& c = GetParam();
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "old bytes\n");
    const FailingCall fs(c.call, c.error);
    const WriteOutcome out = c.backup ? KeepBackup(path, path + ".bak", nullptr, fs)
                                      : ReplaceFile(path, "new text\n", fs);
    EXPECT_FALSE(out.status.ok());
    EXPECT_EQ(out.status.reason.rfind(c.reason, 0), 0u) << out.status.reason;
    EXPECT_NE(out.status.reason.find(path), std::string::npos) << out.status.reason;
    EXPECT_EQ(testing_support::ReadFile(path), "old bytes\n");
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

const Case kCases[] = {
    {"PermissionsNotSet", Call::kFchmod, EPERM, false, "could not set the permissions of"},
    {"NoWriteAccess", Call::kAccess, EACCES, false, "could not write"},
    {"BackupSourceUnreadable", Call::kRead, EIO, true, "could not read"},
    {"BackupSourceNotInspected", Call::kFstat, EIO, true, "could not inspect"},
};

INSTANTIATE_TEST_SUITE_P(Calls, FailingCallTest, ::testing::ValuesIn(kCases),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
