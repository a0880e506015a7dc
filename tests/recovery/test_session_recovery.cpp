// Editor sessions in one work folder, one after another, each with its
// recovery in the same store folder: what a session leaves unsaved is
// offered to the next start, and only that.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "editor/velmora_dlg.h"
#include "io/xml/spline_writer.h"
#include "platform/headless_host.h"
#include "recovery/session_recovery.h"
#include "tests/support/case_names.h"
#include "tests/support/edit_script.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;

struct Session {
    Session(const std::string& store, const std::string& work, const FileSystem& fs)
        : recovery(store, work, fs, [] { return int64_t{1700000000}; }),
          dlg((std::filesystem::path(work) / "Splines.xml").string()) {
        dlg.SetRecovery(&recovery);
    }
    void Key(uint32_t vk) { dlg.Dispatch(Message{WM_KEYDOWN, vk, {}}); }
    void Click(Point p) {
        dlg.Dispatch(Message{WM_LBUTTONDOWN, MK_LBUTTON, p});
        dlg.Dispatch(Message{WM_LBUTTONUP, 0, p});
    }

    HeadlessHost host;
    SessionRecovery recovery;
    CVelmoraDlg dlg;
};

class RecoveryTest : public ::testing::Test {
protected:
    // Starts a session; `answer` answers the recovery question if one comes.
    std::unique_ptr<Session> Start(bool answer = true, const FileSystem& fs = SystemFileSystem()) {
        auto session = std::make_unique<Session>(m_store.Path().string(), Work(), fs);
        session->host.AnswerNext(answer);
        session->dlg.Attach(session->host);
        session->dlg.OnInitDialog();
        return session;
    }
    std::string Work() const { return m_work.Path().string(); }
    std::string SplineFile() const { return m_work.File("Splines.xml"); }
    bool Asked(const Session& session) const { return !session.host.Questions().empty(); }

    testing_support::TempDir m_work;
    testing_support::TempDir m_store;
};

struct EndingCase {
    const char* name;
    void (*edit)(Session&);
    bool asked;
};

void RandomEdits(Session& s) {
    std::mt19937 random(5);
    testing_support::RandomEdits(s.dlg, s.host, random, 20);
}

const EndingCase kEndings[] = {
    {"UnsavedEdits", RandomEdits, true},
    {"EditsSaved",
     [](Session& s) {
         RandomEdits(s);
         s.Key('S');
     },
     false},
    {"NothingEdited", [](Session&) {}, false},
    {"OnlyMovedAround",
     [](Session& s) {
         s.Key(VK_ADD);
         s.Key(VK_RIGHT);
     },
     false},
    {"PointAddedAndRemoved",
     [](Session& s) {
         s.Click(Point{3, 3});
         s.Key(VK_BACK);
     },
     false},
    {"SplineAppendedAndDeleted",
     [](Session& s) {
         s.host.AnswerNext(true);  // to the delete question
         s.Key(VK_RETURN);
         s.Key(VK_DELETE);
     },
     false},
};

class EndingTest : public RecoveryTest, public ::testing::WithParamInterface<EndingCase> {};

// A session is unsaved when what a save would write differs from the file
// as last loaded or saved; only then is a copy left and the question asked.
TEST_P(EndingTest, AsksOnlyWhenSomethingIsUnsaved) {
    auto first = Start();
    GetParam().edit(*first);
    first.reset();
    EXPECT_EQ(std::filesystem::is_empty(m_store.Path()), !GetParam().asked) << m_store.Listing();
    EXPECT_EQ(Asked(*Start()), GetParam().asked);
}

INSTANTIATE_TEST_SUITE_P(Endings, EndingTest, ::testing::ValuesIn(kEndings),
                         testing_support::CaseName());

TEST_F(RecoveryTest, NoDiscardsTheEditsForGood) {
    Start()->Click(Point{3, 3});
    auto second = Start(false);
    EXPECT_TRUE(Asked(*second));
    EXPECT_EQ(second->dlg.Points().size(), 2u);
    second.reset();
    EXPECT_FALSE(Asked(*Start()));
}

// The question tells when, how many changes to which notes, and that the
// file changed since; the first save then keeps that version.
TEST_F(RecoveryTest, TellsOfAFileChangedSinceAndKeepsItAtTheFirstSave) {
#ifdef _WIN32
    _putenv_s("TZ", "UTC");
    _tzset();
#else
    ::setenv("TZ", "UTC", 1);
    ::tzset();
#endif
    auto first = Start();
    first->Click(Point{3, 3});
    first->Key(VK_ADD);
    first->Key(VK_ADD);
    first->Click(Point{3, 3});
    first.reset();
    NoteSet pulledNotes;
    pulledNotes[1] = {Spline{{1, 1}, {2, 2}}};
    const std::string pulled = PrintSplines(pulledNotes, 480, 360);
    testing_support::WriteFile(SplineFile(), pulled);

    auto second = Start(true);
    ASSERT_EQ(second->host.Questions().size(), 1u);
    EXPECT_EQ(second->host.Questions()[0].caption, "Velmora");
    EXPECT_EQ(second->host.Questions()[0].text,
              "Velmora ended on 2023-11-14 at 22:13 with unsaved changes to " + SplineFile() +
                  " (2 changes to note 0 and note 2). Splines.xml has changed on disk since "
                  "those edits began (another program, or a version-control pull); the first "
                  "save after restoring them keeps that version as a backup. Restore them? "
                  "Yes: they come back as unsaved changes; press S to save them. No: they are "
                  "discarded.");
    EXPECT_EQ(second->host.Caption(), "Velmora (Editing note 2 spline 1 / 1)");
    second->Key('S');
    EXPECT_EQ(ReadFile(SplineFile() + ".bak"), pulled);
    ASSERT_EQ(second->host.Warnings().size(), 1u);
    EXPECT_NE(second->host.Warnings()[0].text.find("Splines.xml.bak"), std::string::npos);
}

// Each editor knows its own copy: a running one's is never offered.
TEST_F(RecoveryTest, OffersNoCopyOfAnEditorStillRunning) {
    auto first = Start();
    first->Click(Point{3, 3});
    EXPECT_FALSE(Asked(*Start()));
    first.reset();
    EXPECT_TRUE(Asked(*Start()));
}

// A disk that refuses every flush: told once, and editing goes on.
TEST_F(RecoveryTest, CopyThatCannotBeWrittenIsToldOnce) {
    class FailingFlush : public FileSystem {
    public:
        Status Flush(const FileHandle&) const override { return SystemFailure(ENOSPC); }
    } const full;
    auto session = Start(true, full);
    for (int x = 3; x < 60; x += 10)
        session->Click(Point{x, 3});
    EXPECT_EQ(session->dlg.Points().size(), 8u);
    ASSERT_EQ(session->host.Warnings().size(), 1u);
    EXPECT_EQ(session->host.Warnings()[0].text.rfind("Velmora cannot keep a recovery copy", 0), 0u);
    EXPECT_NE(session->host.Warnings()[0].text.find("No space left on device"), std::string::npos);
}

}  // namespace
}  // namespace velmora
