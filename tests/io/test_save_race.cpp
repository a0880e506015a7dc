// Another program replaces the spline file between any two steps of a save:
// its version is never lost. It is kept as a backup, and said to be, or it
// is the file the save leaves, having come after it.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "io/spline_file.h"
#include "io/spline_writer.h"
#include "io_test_util.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::kClient480;
using testing_support::ReadFile;

// Passes every call to the system and counts as a step each one that looks
// at or changes a name or a file (the others cannot tell two moments apart
// that these do not); right after step
// `at` of a save it replaces `path` with a version of its own, atomically,
// as an editor or a checkout would. It may refuse the exchange, as network
// and FUSE file systems do.
class OutsideWriter : public FileSystem {
public:
    OutsideWriter(std::string path, bool exchange)
        : m_path(std::move(path)), m_exchange(exchange) {}
    void InjectAfter(int step) {
        m_steps = 0;
        m_at = step;
    }
    int Steps() const { return m_steps; }
    std::string Version() const { return "outside version " + std::to_string(m_at) + "\n"; }

    int Open(const char* p, int f, mode_t m) const override {
        return After(FileSystem::Open(p, f, m));
    }
    int LinkUnnamed(int fd, const char* n) const override {
        return After(FileSystem::LinkUnnamed(fd, n));
    }
    ssize_t Read(int fd, void* d, std::size_t s) const override {
        return After(FileSystem::Read(fd, d, s));
    }
    ssize_t Write(int fd, const void* d, std::size_t s) const override {
        return After(FileSystem::Write(fd, d, s));
    }
    int Close(int fd) const override { return After(FileSystem::Close(fd)); }
    int Rename(const char* a, const char* b) const override {
        return After(FileSystem::Rename(a, b));
    }
    int RenameNew(const char* a, const char* b) const override {
        return After(FileSystem::RenameNew(a, b));
    }
    int Link(const char* a, const char* b) const override { return After(FileSystem::Link(a, b)); }
    int Unlink(const char* p) const override { return After(FileSystem::Unlink(p)); }
    int Stat(const char* p, struct stat* i) const override { return After(FileSystem::Stat(p, i)); }
    int Lstat(const char* p, struct stat* i) const override {
        return After(FileSystem::Lstat(p, i));
    }
    int Fstat(int fd, struct stat* i) const override { return After(FileSystem::Fstat(fd, i)); }
    int Fchmod(int fd, mode_t m) const override { return After(FileSystem::Fchmod(fd, m)); }
    int Exchange(const char* a, const char* b) const override {
        if (m_exchange) {
            return After(FileSystem::Exchange(a, b));
        }
        errno = EINVAL;
        return After(-1);
    }

private:
    template <class Result>
    Result After(Result result) const {
        const int error = errno;
        if (++m_steps == m_at) {
            const std::string side = m_path + ".outside";
            testing_support::WriteFile(side, Version());
            std::rename(side.c_str(), m_path.c_str());
        }
        errno = error;
        return result;
    }

    std::string m_path;
    bool m_exchange;
    mutable int m_steps = 0;
    int m_at = 0;
};

struct Count {
    int versions = 0;
    int lost = 0;
};

// A save with an outside version after step k, for every k up to the save's
// last step. Each version kept must also have been told.
Count LostVersions(bool exchange) {
    Count count;
    for (int at = 1;; ++at) {
        const testing_support::TempDir dir;
        const std::string path = dir.File("Splines.xml");
        testing_support::WriteFile(path, PrintSplines(test::DefaultNotes(kClient480),
                                                      kClient480.right, kClient480.bottom));
        OutsideWriter ops(path, exchange);
        SplineFile file(path, ops);
        NoteSet notes = test::DefaultNotes(kClient480);
        file.Load(notes);
        file.MatchLoaded(notes, kClient480.right, kClient480.bottom);
        ops.InjectAfter(at);
        const SaveOutcome out = file.Save(test::MarkedNotes(), kClient480.right, kClient480.bottom);
        if (ops.Steps() < at) {
            return count;
        }
        ++count.versions;
        EXPECT_TRUE(out.ok) << "after step " << at << ": " << out.reason;
        bool kept = ReadFile(path) == ops.Version();
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            if (entry.path().filename().string().rfind("Splines.xml.bak", 0) == 0 &&
                ReadFile(entry.path().string()) == ops.Version()) {
                kept = true;
                EXPECT_TRUE(out.changedElsewhere) << "after step " << at;
                EXPECT_EQ(out.backup, entry.path().string()) << "after step " << at;
            }
        }
        count.lost += !kept;
    }
}

TEST(SaveRaceTest, AnOutsideVersionWrittenBetweenAnyTwoStepsIsKept) {
    const Count count = LostVersions(true);
    std::printf("with the exchange: %d of %d outside versions lost\n", count.lost, count.versions);
    EXPECT_EQ(count.lost, 0);
}

// Without the exchange only the moment between the last look and the rename
// remains open.
TEST(SaveRaceTest, WithoutTheExchangeOnlyTheLastMomentIsOpen) {
    const Count count = LostVersions(false);
    std::printf("without the exchange: %d of %d outside versions lost\n", count.lost,
                count.versions);
    EXPECT_LE(count.lost, 1);
}

}  // namespace
}  // namespace velmora
