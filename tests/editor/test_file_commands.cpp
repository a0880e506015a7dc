#include <filesystem>

#include "tests/editor/editor_fixture.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

const char* const kDefaultFile =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
    "<RectSize Width=\"480\" Height=\"360\" />\n"
    "<NewNoteSpline Index=\"0\">\n"
    "    <NewSpline>\n"
    "        <ControlPoint PosX=\"424\" PosY=\"238\" />\n"
    "        <ControlPoint PosX=\"75\" PosY=\"75\" />\n"
    "    </NewSpline>\n"
    "</NewNoteSpline>\n"
    "<NewNoteSpline Index=\"1\">\n"
    "    <NewSpline>\n"
    "        <ControlPoint PosX=\"424\" PosY=\"238\" />\n"
    "        <ControlPoint PosX=\"184\" PosY=\"75\" />\n"
    "    </NewSpline>\n"
    "</NewNoteSpline>\n"
    "<NewNoteSpline Index=\"2\">\n"
    "    <NewSpline>\n"
    "        <ControlPoint PosX=\"424\" PosY=\"238\" />\n"
    "        <ControlPoint PosX=\"295\" PosY=\"75\" />\n"
    "    </NewSpline>\n"
    "</NewNoteSpline>\n"
    "<NewNoteSpline Index=\"3\">\n"
    "    <NewSpline>\n"
    "        <ControlPoint PosX=\"424\" PosY=\"238\" />\n"
    "        <ControlPoint PosX=\"405\" PosY=\"75\" />\n"
    "    </NewSpline>\n"
    "</NewNoteSpline>\n";

TEST_F(EditorTest, SRightAfterAFreshStartWritesTheDefaultFile) {
    Start();
    Key('S');
    EXPECT_EQ(ReadFile(FilePath()), kDefaultFile);
    EXPECT_TRUE(host.Warnings().empty());
}

TEST_F(EditorTest, SaveStoresTheWorkingCopyFirstAndChangesNothingElse) {
    Start();
    Key(VK_ADD);
    Click({10, 20});
    const size_t captions = host.Captions().size();
    const int redraws = host.GetDCCount();
    Key('S');
    EXPECT_NE(ReadFile(FilePath()).find("<ControlPoint PosX=\"10\" PosY=\"20\" />"),
              std::string::npos);
    EXPECT_EQ(Current().back(), (Point{10, 20}));
    EXPECT_EQ(host.Captions().size(), captions);
    EXPECT_EQ(host.GetDCCount(), redraws);
    EXPECT_EQ(dlg->CurrentNote(), 1);
}

TEST_F(EditorTest, AFailedSaveIsToldAndKeepsTheNotes) {
    Start();
    // A folder where the file should be: the new file cannot replace it.
    std::filesystem::remove(FilePath());
    std::filesystem::create_directory(FilePath());
    Click({33, 44});
    Key('S');
    ASSERT_EQ(host.Warnings().size(), 1u);
    EXPECT_NE(host.Warnings()[0].text.find(FilePath()), std::string::npos);
    EXPECT_EQ(Current().back(), (Point{33, 44}));
    EXPECT_TRUE(std::filesystem::is_directory(FilePath()));

    // Once the obstacle is gone the next save succeeds.
    std::filesystem::remove(FilePath());
    Key('S');
    EXPECT_EQ(host.Warnings().size(), 1u);
    EXPECT_NE(ReadFile(FilePath()).find("PosX=\"33\" PosY=\"44\""), std::string::npos);
}

TEST_F(EditorTest, AFailedSaveWithNoFileBeforeDoesNotCallTheFileUnchanged) {
    std::filesystem::create_symlink("gone/Splines.xml", FilePath());
    Start();
    Key('S');
    ASSERT_EQ(host.Warnings().size(), 2u);
    EXPECT_NE(host.Warnings()[0].text.find("cannot be created"), std::string::npos);
    EXPECT_NE(host.Warnings()[1].text.find("Nothing was written"), std::string::npos);
}

TEST_F(EditorTest, ASaveOverAnotherProgramsVersionKeepsItAndSaysSo) {
    Start();
    Key('S');
    WriteFile(FilePath(), "another program's notes");
    Key('S');
    ASSERT_EQ(host.Warnings().size(), 1u);
    EXPECT_NE(host.Warnings()[0].text.find("Another program changed"), std::string::npos);
    EXPECT_EQ(ReadFile(FilePath() + ".bak"), "another program's notes");
    EXPECT_EQ(ReadFile(FilePath()), kDefaultFile);
}

TEST_F(EditorTest, AnUnreadableFileIsToldAtStartAndKeptAsBackupOnTheFirstSave) {
    const std::string broken = "<NewNoteSpline Index=\"0\">\n<NewSpline>\n<ControlPoint PosX=\"1\n";
    StartWith(broken);
    ASSERT_EQ(host.Warnings().size(), 1u);
    const std::string& text = host.Warnings()[0].text;
    EXPECT_NE(text.find(FilePath()), std::string::npos);
    EXPECT_NE(text.find("line "), std::string::npos);
    EXPECT_NE(text.find("column "), std::string::npos);
    EXPECT_NE(text.find("default splines"), std::string::npos);
    EXPECT_NE(text.find(FilePath() + ".bak\""), std::string::npos);
    EXPECT_EQ(dlg->NoteSplines()[0], SplineList{DefaultOf(0)});
    EXPECT_EQ(ReadFile(FilePath()), broken);

    // Another program takes the backup's name meanwhile: the save says which it wrote.
    WriteFile(FilePath() + ".bak", "older backup");
    Key('S');
    EXPECT_EQ(ReadFile(FilePath() + ".bak.1"), broken);
    EXPECT_EQ(ReadFile(FilePath()), kDefaultFile);
    ASSERT_EQ(host.Warnings().size(), 2u);
    EXPECT_NE(host.Warnings()[1].text.find(FilePath() + ".bak.1\""), std::string::npos);
    Key('S');
    EXPECT_EQ(ReadFile(FilePath() + ".bak"), "older backup");
    EXPECT_EQ(host.Warnings().size(), 2u);
}

TEST_F(EditorTest, AZeroByteFileIsTheQuietEmptyCase) {
    StartWith("");
    EXPECT_TRUE(host.Warnings().empty());
    EXPECT_EQ(ReadFile(FilePath()), "");
    EXPECT_EQ(dlg->NoteSplines()[3], SplineList{DefaultOf(3)});
}

}  // namespace
}  // namespace velmora
