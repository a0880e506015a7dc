// The recovery copy on disk: it reads back as the editor's state after every
// command, and a damaged one never offers a wrong state.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "editor/velmora_dlg.h"
#include "platform/headless_host.h"
#include "recovery/digest.h"
#include "recovery/session_recovery.h"
#include "tests/support/case_names.h"
#include "tests/support/edit_script.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

// Flushing only costs time here: what is tested is what the copy holds.
class NoFlush : public FileSystem {
public:
    Status Flush(const FileHandle&) const override { return {}; }
};

SessionState StateOf(const CVelmoraDlg& dlg) {
    SessionState state{dlg.NoteSplines(), dlg.Points(), dlg.CurrentNote(), {}};
    for (int n = 0; n < kNoteCount; ++n)
        state.currentSpline[n] = dlg.CurrentSpline(n);
    return state;
}

// Thousands of random commands, saves and deletions among them, rewrite the
// copy whole many times over; after each one it holds exactly what the
// editor holds, as long as anything is unsaved.
TEST(RecoveryCopy, ReadsBackAsTheEditorsStateAfterEveryCommand) {
    const TempDir dir;
    const NoFlush fs;
    SessionRecovery recovery(dir.File("state"), dir.Path().string(), fs);
    HeadlessHost host;
    CVelmoraDlg dlg(dir.File("Splines.xml"));
    dlg.SetRecovery(&recovery);
    dlg.Attach(host);
    dlg.OnInitDialog();
    std::mt19937 random(11);
    std::size_t rewrites = 0;
    std::size_t appended = 0;
    for (int i = 0; i < 5000; ++i) {
        testing_support::RandomEdits(dlg, host, random, 1, true);
        rewrites += recovery.Recorder()->AppendedBytes() < appended;
        appended = recovery.Recorder()->AppendedBytes();
        if (!recovery.Recorder()->Unsaved())
            continue;
        std::string copy;
        for (const auto& entry : std::filesystem::directory_iterator(dir.File("state"))) {
            if (entry.path().extension() == ".recovery")
                copy = ReadFile(entry.path().string());
        }
        const DecodedCopy decoded = DecodeCopy(copy);
        ASSERT_EQ(decoded.status, CopyStatus::kRead) << "after command " << i;
        ASSERT_TRUE(decoded.state == StateOf(dlg)) << "after command " << i;
    }
    EXPECT_TRUE(host.Warnings().empty());
    EXPECT_GT(rewrites, 3u);
}

// The states of a session that made three commands: a point added, a spline
// appended after it, a point of note 2 moved.
SessionState Base() {
    SessionState state;
    for (int n = 0; n < kNoteCount; ++n)
        state.notes[n] = {Spline{{424, 238}, {75 + 110 * n, 75}}};
    state.working = state.notes[0][0];
    return state;
}

SessionState After(int commands) {
    SessionState state = Base();
    if (commands >= 1)
        state.working.push_back(Point{100, 100});
    if (commands >= 2) {
        state.notes[0] = {state.working, state.notes[0][0]};
        state.currentSpline[0] = 1;
        state.working = state.notes[0][1];
    }
    if (commands >= 3)
        state.notes[2][0][1] = Point{300, 200};
    return state;
}

constexpr const char* kWork = "/home/ann/game";

// What a session leaves in `store`: the copy's bytes, and where its last
// record begins.
struct Left {
    std::string bytes;
    std::size_t lastRecord = 0;
};

Left WriteSession(const std::string& store, const std::string& name, const CopyHeader& header,
                  const SessionState& last) {
    RecoveryStore disk(store);
    SessionRecorder recorder(disk, name, header, [] { return int64_t{1700000000}; });
    recorder.SetBase(ViewOf(Base()), FingerprintOf("file"));
    Left left;
    for (const SessionState& state : {After(1), After(2), last}) {
        left.lastRecord = left.bytes.size();
        EXPECT_TRUE(recorder.Record(ViewOf(state)).ok());
        left.bytes = ReadFile(store + "/" + name);
    }
    return left;
}

TEST(RecoveryCopy, CutShortAnywhereInItsLastRecordReadsAsTheRecordBefore) {
    const TempDir dir;
    const Left left =
        WriteSession(dir.Path().string(), "copy.recovery", {kWork, 480, 360}, After(3));
    for (std::size_t size = left.lastRecord; size < left.bytes.size(); ++size) {
        const DecodedCopy copy = DecodeCopy(std::string_view(left.bytes).substr(0, size));
        ASSERT_EQ(copy.status, CopyStatus::kRead) << size;
        ASSERT_TRUE(copy.state == After(2)) << size;
    }
    EXPECT_TRUE(DecodeCopy(left.bytes).state == After(3));
}

enum class Damage {
    kNone,
    kLastCutInHalf,
    kLastOverwritten,
    kFirstCut,
    kEmptied,
    kMisfit,
    kOtherVersion,
    kNotACopy
};

std::string Damaged(const Left& left, Damage damage) {
    const std::string& b = left.bytes;
    StateDelta misfit = DiffStates(ViewOf(After(3)), ViewOf(After(3)));
    misfit.notes.push_back(NoteChange{1, -1, {1000, 0, {}}, {}});  // keeps splines not there
    switch (damage) {
    case Damage::kNone: return b;
    case Damage::kLastCutInHalf: return b.substr(0, (left.lastRecord + b.size()) / 2);
    case Damage::kLastOverwritten: return b.substr(0, b.size() - 3) + "\xff\xff\xff";
    case Damage::kFirstCut: return b.substr(0, 60);
    case Damage::kEmptied: return std::string();
    case Damage::kMisfit: return b + EncodeRecord(RecordMeta{1, 4, 1, {}}, misfit);
    case Damage::kOtherVersion: return b.substr(0, 16) + '\x02' + b.substr(17);
    case Damage::kNotACopy: return "<NewNoteSpline/>";
    }
    return b;
}

struct DamageCase {
    const char* name;
    CopyHeader header;
    int commands;  // of the third record's state: 3, or 0 for all saved
    Damage damage;
    int offered;  // the commands of the state offered back, or -1 for none
    bool kept;    // the copy stays after the start
};

const DamageCase kDamages[] = {
    {"Whole", {kWork, 480, 360}, 3, Damage::kNone, 3, false},
    {"LastRecordCutInHalf", {kWork, 480, 360}, 3, Damage::kLastCutInHalf, 2, false},
    {"LastRecordOverwritten", {kWork, 480, 360}, 3, Damage::kLastOverwritten, 2, false},
    {"FirstRecordCutShort", {kWork, 480, 360}, 3, Damage::kFirstCut, -1, false},
    {"Empty", {kWork, 480, 360}, 3, Damage::kEmptied, -1, false},
    {"AllSaved", {kWork, 480, 360}, 0, Damage::kNone, -1, false},
    {"RecordThatDoesNotFit", {kWork, 480, 360}, 3, Damage::kMisfit, -1, false},
    {"OtherVersion", {kWork, 480, 360}, 3, Damage::kOtherVersion, -1, true},
    {"OtherFolder", {"/home/ann/other", 480, 360}, 3, Damage::kNone, -1, true},
    {"OtherClientSize", {kWork, 640, 480}, 3, Damage::kNone, -1, true},
    {"NotACopy", {kWork, 480, 360}, 3, Damage::kNotACopy, -1, true},
};

class DamagedCopyTest : public ::testing::TestWithParam<DamageCase> {};

// The copy is named as one of kWork's; the start after it finds it there.
TEST_P(DamagedCopyTest, IsNeverOfferedAsAWrongState) {
    const DamageCase& c = GetParam();
    const TempDir dir;
    const std::string store = dir.Path().string();
    const std::string name = Hex64(Digest64(kWork)) + "-0000000000000001.recovery";
    testing_support::WriteFile(
        store + "/" + name,
        Damaged(WriteSession(store, name, c.header, After(c.commands)), c.damage));

    SessionRecovery recovery(store, kWork);
    recovery.Begin(ViewOf(Base()), FingerprintOf("file"), 480, 360);
    const std::optional<RecoveryOffer> offer = recovery.FindOffer();
    ASSERT_EQ(offer.has_value(), c.offered >= 0);
    if (offer) {
        EXPECT_TRUE(offer->state == After(c.offered));
        EXPECT_EQ(offer->meta.changes, static_cast<uint32_t>(c.offered));
        recovery.Discard(*offer);
    }
    EXPECT_EQ(std::filesystem::exists(store + "/" + name), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedCopyTest, ::testing::ValuesIn(kDamages),
                         testing_support::CaseName());

}  // namespace
}  // namespace velmora
