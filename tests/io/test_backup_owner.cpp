// Neither a backup nor the new file ever carries a set-user-ID, set-group-ID
// or sticky bit, nor file capabilities; both keep the permission bits, owner
// and group of the file they stand for, with and without the exchange.
#include <cerrno>
#include <cstdlib>
#include <string>
#include <tuple>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "io/spline_file.h"
#include "io_test_util.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::kClient480;

class NoExchange : public FileSystem {
public:
    Status Exchange(const std::string&, const std::string&) const override {
        return SystemFailure(EINVAL, StatusCode::kNotSupported);
    }
};

struct Permissions {
    const char* name;
    mode_t mode;
    uid_t owner;  // 0: the tester's own file
    gid_t group;
    bool exchange;
    const char* capabilities = nullptr;  // given with setcap, as root can
};

const Permissions kPermissions[] = {
    {"SetIdOfAnotherUser", 06755, 12345, 12345, true},
    {"SetIdOfAnotherUserCopied", 06755, 12345, 12345, false},
    {"SetIdOwn", 06755, 0, 0, true},
    {"StickyOwnCopied", 01644, 0, 0, false},
    {"GroupWritableOfAnotherOwner", 0660, 4242, 4243, true},
    {"GroupWritableOfAnotherOwnerCopied", 0660, 4242, 4243, false},
    {"CapabilitiesAndSetUid", 04755, 0, 0, true, "cap_setuid,cap_net_bind_service+ep"},
    {"CapabilitiesAndSetUidCopied", 04755, 0, 0, false, "cap_setuid+ep"},
};

class BackupOwnerTest : public ::testing::TestWithParam<Permissions> {};

TEST_P(BackupOwnerTest, KeepsModeLessSetIdBitsAndOwner) {
    const Permissions& p = GetParam();
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "a hand-written file\n");
    if (p.owner != 0 && ::chown(path.c_str(), p.owner, p.group) != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    if (p.capabilities &&
        std::system(
            ("setcap " + std::string(p.capabilities) + " " + path + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "setcap is missing, or may not set capabilities here";
    }
    ASSERT_EQ(::chmod(path.c_str(), p.mode), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    const NoExchange noExchange;
    SplineFile file(path, p.exchange ? SystemFileSystem() : noExchange);
    NoteSet notes = test::DefaultNotes(kClient480);
    file.Load(notes);
    const SaveOutcome out = file.Save(notes, kClient480.right, kClient480.bottom);
    ASSERT_TRUE(out.status.ok()) << out.status.reason;
    ASSERT_EQ(out.backup, path + ".bak");
    for (const std::string& name : {out.backup, path}) {
        struct stat after {};
        ASSERT_EQ(::stat(name.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, p.mode & 0777) << name;
        EXPECT_EQ(std::tie(after.st_uid, after.st_gid), std::tie(before.st_uid, before.st_gid))
            << name;
        EXPECT_LT(::getxattr(name.c_str(), "security.capability", nullptr, 0), 0) << name;
    }
    EXPECT_EQ(testing_support::ReadFile(out.backup), "a hand-written file\n");
}

INSTANTIATE_TEST_SUITE_P(Files, BackupOwnerTest, ::testing::ValuesIn(kPermissions),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
