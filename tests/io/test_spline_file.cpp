#include "io/spline_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#include <gtest/gtest.h>

#include "io/disk/file_read.h"
#include "io/file_messages.h"
#include "io/loaded_notes.h"
#include "io/xml/spline_writer.h"
#include "io_test_util.h"
#include "tests/support/case_names.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::kClient480;

TEST(SplineFileTest, MissingFileIsCreatedEmptyAndThenReadsAsEmpty) {
    const testing_support::TempDir dir;
    SplineFile file(dir.File("Splines.xml"));
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).found, LoadStatus::kCreated);
    EXPECT_EQ(testing_support::ReadFile(file.Path()), "");

    const LoadOutcome again = file.Load(notes);
    EXPECT_EQ(again.found, LoadStatus::kEmpty);
    EXPECT_TRUE(again.Problem().reason.empty());
    EXPECT_EQ(testing_support::ReadFile(file.Path()), "");
    EXPECT_EQ(notes, test::MarkedNotes());
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

TEST(SplineFileTest, MissingFolderCreatesNothing) {
    const testing_support::TempDir dir;
    SplineFile file(dir.File("gone/Splines.xml"));
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).found, LoadStatus::kEmpty);
    EXPECT_EQ(notes, test::MarkedNotes());
    EXPECT_EQ(dir.Listing(), "");
}

TEST(SplineFileTest, FileWithoutReadPermissionIsUnreadableAndKept) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "private");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    if (::access(path.c_str(), R_OK) == 0) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    SplineFile file(path);
    NoteSet notes = test::MarkedNotes();
    EXPECT_EQ(file.Load(notes).found, LoadStatus::kUnreadable);
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(testing_support::ReadFile(path), "private");
}

TEST(SplineFileTest, SaveIntoMissingFolderFailsWithAReason) {
    const testing_support::TempDir dir;
    SplineFile file(dir.File("gone/Splines.xml"));
    const SaveOutcome out =
        file.Save(test::DefaultNotes(kClient480), kClient480.right, kClient480.bottom);
    EXPECT_FALSE(out.status.ok());
    EXPECT_NE(out.status.reason.find("gone/Splines.xml"), std::string::npos) << out.status.reason;
    EXPECT_EQ(dir.Listing(), "");
}

TEST(SplineFileTest, SaveIntoReadOnlyFolderLeavesTheOldFile) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "old\n");
    ASSERT_EQ(::chmod(dir.Path().string().c_str(), 0555), 0);
    if (::access(dir.Path().string().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with rights that write any folder";
    }
    SplineFile file(path);
    EXPECT_FALSE(
        file.Save(test::DefaultNotes(kClient480), kClient480.right, kClient480.bottom).status.ok());
    EXPECT_EQ(testing_support::ReadFile(path), "old\n");
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

LoadOutcome LoadAsEditor(SplineFile& file, NoteSet& notes) {
    LoadedNotes loaded = LoadLikeEditor(file, kClient480);
    notes = std::move(loaded.notes);
    return loaded.outcome;
}

struct Content {
    const char* name;
    std::string bytes;
    LoadStatus status;
    const char* told;     // part of the start-up message; "" for none
    bool backup;          // the first save keeps the file as Splines.xml.bak
    bool sparse = false;  // instead of `bytes`: a file just over the size limit
};

const std::string kDefault = test::DataFile("default_480x360.xml");
const std::string kNote0 =
    "<NewNoteSpline Index=\"0\"><NewSpline><ControlPoint PosX=\"1\" PosY=\"2\" /></NewSpline>"
    "</NewNoteSpline>\n";
const std::string kNote1 = "<NewNoteSpline Index=\"1\"><NewSpline /></NewNoteSpline>\n";

// `text` with every `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

const Content kContents[] = {
    {"EditorWritten", kDefault, LoadStatus::kLoaded, "", false},
    {"EditorWrittenOnTheOtherSystem",
     kDefault.find('\r') == std::string::npos ? Replaced(kDefault, "\n", "\r\n")
                                              : Replaced(kDefault, "\r\n", "\n"),
     LoadStatus::kLoaded, "", false},
    {"EditorWrittenLineEndsMixed", Replaced(kDefault, "<NewSpline>\n", "<NewSpline>\r\n"),
     LoadStatus::kLoaded, "", false},
    {"EditorWrittenWithLoneCr", Replaced(kDefault, "<NewSpline>\n", "<NewSpline>\r"),
     LoadStatus::kLoaded, "", true},
    {"ZeroBytes", "", LoadStatus::kEmpty, "", false},
    {"Blank", " \r\n\t\n", LoadStatus::kEmpty, "", false},
    {"NulPaddedTail", kDefault + std::string(300, '\0'), LoadStatus::kLoaded, "", true},
    {"HandEdited", test::DataFile("hand_edited.xml"), LoadStatus::kLoaded, "", true},
    {"BadCoordinate", Replaced(kDefault, "PosX=\"75\"", "PosX=\"x\""), LoadStatus::kLoaded, "",
     true},
    {"StrayTextBetweenNotes", kNote0 + "x\n" + kNote1, LoadStatus::kLoaded, "line 2, column 1",
     true},
    {"MergeConflict", "<<<<<<< HEAD\n" + kNote0 + "=======\n" + kNote1 + ">>>>>>> theirs\n",
     LoadStatus::kLoaded, "conflict markers of an unfinished merge (line 1, column 1)", true},
    {"DoctypeWithSubset", "<!DOCTYPE s [ <!ENTITY e \"1\"> ]>\n" + kNote0, LoadStatus::kLoaded,
     "no note", true},
    {"WrappedInOneRoot", "<Splines>" + kNote0 + "</Splines>", LoadStatus::kLoaded, "no note", true},
    {"LowerCaseNote", Replaced(kDefault, "NewNoteSpline", "newnotespline"), LoadStatus::kLoaded,
     "no note", true},
    {"LowerCaseIndex", kNote0 + Replaced(kNote1, "Index", "index") + kNote0, LoadStatus::kLoaded,
     "line 2, column 1", true},
    {"NulThenText", kDefault + std::string("\0\0x", 3), LoadStatus::kLoaded, "line 27, column 1",
     true},
    {"PlainText", "plain text, not XML\n", LoadStatus::kUnreadable, "not an XML document", true},
    {"Utf16", std::string("\xFF\xFE<\0a\0/\0>\0", 10), LoadStatus::kUnreadable, "UTF-16", true},
    {"ParseError", "<NewNoteSpline Index=\"0\"><NewSpline></NewNoteSpline>\n",
     LoadStatus::kUnreadable, "line 1", true},
    {"TooDeep", Replaced(std::string(70, '.'), ".", "<a>"), LoadStatus::kUnreadable, "deeply",
     true},
    {"TooLarge", "", LoadStatus::kUnreadable, "larger", true, true},
};

class ContentTest : public ::testing::TestWithParam<Content> {};

// The load never touches the file; whatever it did not take in whole
// survives as Splines.xml.bak, and later saves keep no more.
TEST_P(ContentTest, StartUpOutcomeAndBackup) {
    const Content& c = GetParam();
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, c.bytes);
    if (c.sparse) {
        std::filesystem::resize_file(path, kMaxSplineFileBytes + 1);
    }
    const std::string original = testing_support::ReadFile(path);

    SplineFile file(path);
    NoteSet notes;
    const LoadOutcome out = LoadAsEditor(file, notes);
    EXPECT_EQ(out.found, c.status) << out.Problem().reason;
    const std::string message = LoadMessage(out, path);
    EXPECT_EQ(message.empty(), *c.told == '\0') << message;
    EXPECT_NE(message.find(c.told), std::string::npos) << message;
    EXPECT_EQ(testing_support::ReadFile(path), original);

    ASSERT_TRUE(file.Save(notes, kClient480.right, kClient480.bottom).status.ok());
    ASSERT_TRUE(file.Save(test::MarkedNotes(), kClient480.right, kClient480.bottom).status.ok());
    EXPECT_EQ(testing_support::ReadFile(path + ".bak"), c.backup ? original : "<missing>");
    EXPECT_EQ(dir.Listing(), c.backup ? "Splines.xml;Splines.xml.bak;" : "Splines.xml;");
}

INSTANTIATE_TEST_SUITE_P(Files, ContentTest, ::testing::ValuesIn(kContents),
                         testing_support::CaseName());

// The notes as loaded decide, not the notes the first save writes.
TEST(SplineFileTest, EditsBeforeTheFirstSaveKeepNoBackupOfTheEditorsFile) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, kDefault);
    SplineFile file(path);
    NoteSet notes;
    ASSERT_EQ(LoadAsEditor(file, notes).found, LoadStatus::kLoaded);
    notes[0].front().front().x += 1;
    ASSERT_TRUE(file.Save(notes, kClient480.right, kClient480.bottom).status.ok());
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

using Dir = const testing_support::TempDir&;

// A user's own set-up of the folder, and what start-up and two saves make of it.
struct Folder {
    const char* name;
    void (*setUp)(Dir);
    LoadStatus status;
    const char* told;     // part of the start-up message; "" for none
    bool saves;           // saving succeeds
    std::string listing;  // the folder afterwards
    mode_t type;          // of Splines.xml afterwards: a link stays a link
    std::string file;     // the file saved to; it keeps its mode, owner and group
    std::string content;  // what that file holds afterwards
    void (*tearDown)(Dir) = nullptr;
};

struct stat StatOf(const std::string& path, [[maybe_unused]] bool followLinks = true) {
    struct stat info {};
#ifdef _WIN32
    ::stat(path.c_str(), &info);
#else
    followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
#endif
    return info;
}

const std::string kMarked = PrintSplines(test::MarkedNotes(), kClient480.right, kClient480.bottom);

#ifndef _WIN32
// Sets or clears an inode flag (chattr +i, +a); false where that is refused
// (it takes root) or the file system keeps no flags.
bool SetInodeFlag(const std::string& path, int flag, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | flag : flags & ~flag;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Splines.xml as the editor wrote it, with the inode flag `flag` set.
template <int flag>
void FlaggedFile(Dir d) {
    testing_support::WriteFile(d.File("Splines.xml"), kDefault);
    if (!SetInodeFlag(d.File("Splines.xml"), flag, true))
        GTEST_SKIP() << "setting chattr flags takes root and a file system that keeps them";
}

template <int flag>
void UnflagFile(Dir d) {
    SetInodeFlag(d.File("Splines.xml"), flag, false);
}

// A name of 250 bytes: the hidden temporary name beside it must be shorter.
const std::string kLongName = std::string(246, 'n') + ".xml";

// Splines.xml -> l1 -> ... -> l<count - 1> -> real.xml: `count` links in all.
void MakeChain(Dir d, int count) {
    testing_support::WriteFile(d.File("real.xml"), kDefault);
    for (int n = count - 1; n >= 0; --n) {
        const std::string to = n == count - 1 ? "real.xml" : "l" + std::to_string(n + 1);
        const std::string link = n == 0 ? "Splines.xml" : "l" + std::to_string(n);
        ASSERT_EQ(::symlink(to.c_str(), d.File(link).c_str()), 0);
    }
}

// The names of the chain's links besides Splines.xml, sorted as Listing() sorts.
std::string ChainListing(int count) {
    std::vector<std::string> names{"Splines.xml", "real.xml"};
    for (int n = 1; n < count; ++n)
        names.push_back("l" + std::to_string(n));
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& name : names)
        out += name + ";";
    return out;
}
#endif

const Folder kFolders[] = {
    {"GapInBackups",
     [](Dir d) {
         testing_support::WriteFile(d.File("Splines.xml"), "<broken");
         testing_support::WriteFile(d.File("Splines.xml.bak"), "0");
         testing_support::WriteFile(d.File("Splines.xml.bak.2"), "2");
     },
     LoadStatus::kUnreadable, "Splines.xml.bak.3\"", true,
     "Splines.xml;Splines.xml.bak;Splines.xml.bak.2;Splines.xml.bak.3;", S_IFREG,
     "Splines.xml.bak.3", "<broken"},
    {"ReadOnlyFile",
     [](Dir d) {
         testing_support::WriteFile(d.File("Splines.xml"), kDefault);
         ASSERT_EQ(::chmod(d.File("Splines.xml").c_str(), 0444), 0);
     },
     LoadStatus::kLoaded, "the file is read-only. Make the file writable, then press S", false,
     "Splines.xml;", S_IFREG, "Splines.xml", kDefault},
    {"FolderOfThatName",
     [](Dir d) { ASSERT_TRUE(std::filesystem::create_directory(d.File("Splines.xml"))); },
     LoadStatus::kNotAFile, "Move it away", false, "Splines.xml;", S_IFDIR, "Splines.xml", ""},
    {"OlderBackups",
     [](Dir d) {
         testing_support::WriteFile(d.File("Splines.xml"), "<broken");
         testing_support::WriteFile(d.File("Splines.xml.bak"), "0");
         testing_support::WriteFile(d.File("Splines.xml.bak.1"), "1");
     },
     LoadStatus::kUnreadable, "Splines.xml.bak.2\"", true,
     "Splines.xml;Splines.xml.bak;Splines.xml.bak.1;Splines.xml.bak.2;", S_IFREG,
     "Splines.xml.bak.2", "<broken"},
#ifndef _WIN32
    // Symbolic links, FIFOs, owners and inode flags: POSIX only.
    {"FortyLinks", [](Dir d) { MakeChain(d, 40); }, LoadStatus::kLoaded, "", true, ChainListing(40),
     S_IFLNK, "real.xml", kMarked},
    {"FortyOneLinks", [](Dir d) { MakeChain(d, 41); }, LoadStatus::kUnreadable, "symbolic links",
     false, ChainListing(41), S_IFLNK, "real.xml", kDefault},
    {"LinkToALongName",
     [](Dir d) {
         testing_support::WriteFile(d.File(kLongName), kDefault);
         ASSERT_EQ(::symlink(kLongName.c_str(), d.File("Splines.xml").c_str()), 0);
     },
     LoadStatus::kLoaded, "", true, "Splines.xml;" + kLongName + ";", S_IFLNK, kLongName, kMarked},
    {"LinkIntoAnotherFolder",
     [](Dir d) {
         ASSERT_EQ(::mkdir(d.File("real").c_str(), 0755), 0);
         testing_support::WriteFile(d.File("real/notes.xml"), kDefault);
         ASSERT_EQ(::chmod(d.File("real/notes.xml").c_str(), 0640), 0);
         ASSERT_EQ(::symlink("real/notes.xml", d.File("Splines.xml").c_str()), 0);
     },
     LoadStatus::kLoaded, "", true, "Splines.xml;real;", S_IFLNK, "real/notes.xml", kMarked},
    {"DanglingLink",
     [](Dir d) { ASSERT_EQ(::symlink("made.xml", d.File("Splines.xml").c_str()), 0); },
     LoadStatus::kCreated, "", true, "Splines.xml;made.xml;", S_IFLNK, "made.xml", kMarked},
    {"OtherOwner",
     [](Dir d) {
         testing_support::WriteFile(d.File("Splines.xml"), kDefault);
         if (::chown(d.File("Splines.xml").c_str(), 4242, 4243) != 0) {
             GTEST_SKIP() << "changing the owner needs root";
         }
     },
     LoadStatus::kLoaded, "", true, "Splines.xml;", S_IFREG, "Splines.xml", kMarked},
    {"FifoOfThatName", [](Dir d) { ASSERT_EQ(::mkfifo(d.File("Splines.xml").c_str(), 0644), 0); },
     LoadStatus::kNotAFile, "Move it away", false, "Splines.xml;", S_IFIFO, "Splines.xml", ""},
    {"ImmutableFile", FlaggedFile<FS_IMMUTABLE_FL>, LoadStatus::kLoaded,
     "is marked immutable (chattr +i), so nothing can change it. Clear the mark", false,
     "Splines.xml;", S_IFREG, "Splines.xml", kDefault, UnflagFile<FS_IMMUTABLE_FL>},
    {"AppendOnlyFile", FlaggedFile<FS_APPEND_FL>, LoadStatus::kLoaded,
     "is marked append-only (chattr +a), so it can only grow. Clear the mark", false,
     "Splines.xml;", S_IFREG, "Splines.xml", kDefault, UnflagFile<FS_APPEND_FL>},
#endif
};

class FolderTest : public ::testing::TestWithParam<Folder> {};

TEST_P(FolderTest, StartUpAndSaves) {
    const Folder& f = GetParam();
    const testing_support::TempDir dir;
    // Before the folder goes, whatever happens here.
    const std::shared_ptr<void> tearDown(nullptr, [&](void*) {
        if (f.tearDown != nullptr)
            f.tearDown(dir);
    });
    f.setUp(dir);
    if (IsSkipped() || HasFatalFailure())
        return;
    const struct stat before = StatOf(dir.File(f.file));
    SplineFile file(dir.File("Splines.xml"));
    NoteSet notes;
    const LoadOutcome out = LoadAsEditor(file, notes);
    EXPECT_EQ(out.found, f.status) << out.Problem().reason;
    const std::string message = LoadMessage(out, file.Path(), file.NextBackup());
    EXPECT_EQ(message.empty(), *f.told == '\0') << message;
    EXPECT_NE(message.find(f.told), std::string::npos) << message;
    for (const NoteSet& saved : {notes, test::MarkedNotes()}) {
        const SaveOutcome result = file.Save(saved, kClient480.right, kClient480.bottom);
        EXPECT_EQ(result.status.ok(), f.saves) << result.status.reason;
    }
    EXPECT_EQ(dir.Listing(), f.listing);
    EXPECT_EQ(StatOf(dir.File("Splines.xml"), false).st_mode & S_IFMT, f.type);
    const struct stat after = StatOf(dir.File(f.file));
    if (before.st_mode != 0) {  // the file existed before
        EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid),
                  std::tie(before.st_mode, before.st_uid, before.st_gid));
    }
    EXPECT_EQ(S_ISREG(after.st_mode) ? testing_support::ReadFile(dir.File(f.file)) : "", f.content);
}

INSTANTIATE_TEST_SUITE_P(Situations, FolderTest, ::testing::ValuesIn(kFolders),
                         testing_support::CaseName());

// Fails the first write, as a full disk would, and lets the later ones through.
class FirstWriteFails : public FileSystem {
public:
    Status Write(const FileHandle& file, const void* data, std::size_t size,
                 std::size_t* done) const override {
        if (m_failed)
            return FileSystem::Write(file, data, size, done);
        m_failed = true;
        return SystemFailure(ENOSPC);
    }

private:
    mutable bool m_failed = false;
};

TEST(SplineFileTest, FailedBackupFailsTheSaveAndIsRetried) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "<broken");
    const FirstWriteFails ops;
    SplineFile file(path, ops);
    NoteSet notes = test::DefaultNotes(kClient480);
    ASSERT_EQ(file.Load(notes).found, LoadStatus::kUnreadable);

    EXPECT_FALSE(file.Save(notes, kClient480.right, kClient480.bottom).status.ok());
    EXPECT_EQ(testing_support::ReadFile(path), "<broken");
    EXPECT_EQ(dir.Listing(), "Splines.xml;");

    ASSERT_TRUE(file.Save(notes, kClient480.right, kClient480.bottom).status.ok());
    EXPECT_EQ(testing_support::ReadFile(path + ".bak"), "<broken");
    EXPECT_EQ(dir.Listing(), "Splines.xml;Splines.xml.bak;");
}

TEST(SplineFileTest, ReadableReloadDropsThePendingBackup) {
    const testing_support::TempDir dir;
    const std::string path = dir.File("Splines.xml");
    testing_support::WriteFile(path, "<broken");
    SplineFile file(path);
    NoteSet notes = test::DefaultNotes(kClient480);
    ASSERT_EQ(file.Load(notes).found, LoadStatus::kUnreadable);
    testing_support::WriteFile(path, test::DataFile("default_480x360.xml"));
    ASSERT_EQ(LoadAsEditor(file, notes).found, LoadStatus::kLoaded);
    ASSERT_TRUE(file.Save(notes, kClient480.right, kClient480.bottom).status.ok());
    EXPECT_EQ(dir.Listing(), "Splines.xml;");
}

}  // namespace
}  // namespace velmora
