#include "io/disk/safe_write.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <tuple>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

enum class Step { kWrite, kFsync, kClose, kRename };

// Fails one step as a full disk or a dying device would; may offer no unnamed files.
class FailingOps : public FileSystem {
public:
    explicit FailingOps(Step step, bool unnamed = true) : m_step(step), m_unnamed(unnamed) {}
    Status CreateUnnamed(const std::string& folder, FileHandle* file) const override {
        return m_unnamed ? FileSystem::CreateUnnamed(folder, file)
                         : SystemFailure(EOPNOTSUPP, StatusCode::kNotSupported);
    }
    Status Write(const FileHandle& file, const void* data, std::size_t size,
                 std::size_t* done) const override {
        if (m_step == Step::kWrite) {
            return SystemFailure(ENOSPC);
        }
        return FileSystem::Write(file, data, size, done);
    }
    Status Flush(const FileHandle& file) const override {
        if (m_step == Step::kFsync) {
            return SystemFailure(EIO);
        }
        return FileSystem::Flush(file);
    }
    Status Close(FileHandle& file) const override {
        const Status result = FileSystem::Close(file);
        if (m_step == Step::kClose) {
            return SystemFailure(EIO);
        }
        return result;
    }
    Status Rename(const std::string& from, const std::string& to) const override {
        if (m_step == Step::kRename) {
            return SystemFailure(EXDEV);
        }
        return FileSystem::Rename(from, to);
    }
    Status Exchange(const std::string& first, const std::string& second) const override {
        if (m_step == Step::kRename) {
            return SystemFailure(EXDEV, StatusCode::kNotSupported);
        }
        return FileSystem::Exchange(first, second);
    }

private:
    Step m_step;
    bool m_unnamed;
};

class FailedStepTest : public ::testing::TestWithParam<std::tuple<Step, bool>> {};

TEST_P(FailedStepTest, LeavesTheOldFileAndNoTemporaryFile) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "old bytes\n");
    const auto [step, unnamed] = GetParam();
    const WriteOutcome out = ReplaceFile(path, "new text\n", FailingOps(step, unnamed));
    EXPECT_FALSE(out.status.ok());
    EXPECT_NE(out.status.reason.find(path), std::string::npos) << out.status.reason;
    EXPECT_EQ(testing_support::ReadFile(path), "old bytes\n");
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

const char* StepName(Step step) {
    switch (step) {
    case Step::kWrite: return "Write";
    case Step::kFsync: return "Fsync";
    case Step::kClose: return "Close";
    case Step::kRename: return "Rename";
    }
    return "?";
}

// The step by name in the test list, for a stable list.
void PrintTo(Step step, std::ostream* os) { *os << StepName(step); }

INSTANTIATE_TEST_SUITE_P(Steps, FailedStepTest,
                         ::testing::Combine(::testing::Values(Step::kWrite, Step::kFsync,
                                                              Step::kClose, Step::kRename),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(StepName(std::get<0>(info.param))) +
                                    (std::get<1>(info.param) ? "Unnamed" : "Hidden");
                         });

TEST(SafeWriteTest, FullDiskReasonNamesTheSystemError) {
    const testing_support::TempDir dir;
    const WriteOutcome out = ReplaceFile(dir.File("a.xml"), "x", FailingOps(Step::kWrite));
    EXPECT_NE(out.status.reason.find(std::strerror(ENOSPC)), std::string::npos)
        << out.status.reason;
    EXPECT_EQ(dir.Listing(), "");
}

// Writes at most three bytes per call and is interrupted on every other one.
class TrickleOps : public FileSystem {
public:
    Status Write(const FileHandle& file, const void* data, std::size_t size,
                 std::size_t* done) const override {
        if ((m_calls++ % 2) == 0) {
            return SystemFailure(EINTR);
        }
        return FileSystem::Write(file, data, size < 3 ? size : 3, done);
    }

private:
    mutable int m_calls = 0;
};

TEST(SafeWriteTest, ShortAndInterruptedWritesStillWriteEverything) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("a.xml");
    const std::string text = "<RectSize Width=\"480\" Height=\"360\" />\n";
    ASSERT_TRUE(ReplaceFile(path, text, TrickleOps()).status.ok());
    EXPECT_EQ(testing_support::ReadFile(path), text);
}

TEST(SafeWriteTest, KeepsPermissionBitsOrUsesTheUmaskForANewFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps no POSIX permission bits and no umask";
#endif
    const testing_support::TempDir dir;
    const std::string kept = dir.File("kept.xml");
    testing_support::WriteFile(kept, "old");
    ASSERT_EQ(::chmod(kept.c_str(), 0604), 0);
    ASSERT_TRUE(ReplaceFile(kept, "new").status.ok());

    const mode_t previous = ::umask(027);
    const std::string fresh = dir.File("fresh.xml");
    const bool ok = ReplaceFile(fresh, "new").status.ok();
    ::umask(previous);
    ASSERT_TRUE(ok);

    struct stat info {};
    ASSERT_EQ(::stat(kept.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace velmora
