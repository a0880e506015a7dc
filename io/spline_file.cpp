#include "io/spline_file.h"

#include <cerrno>
#include <functional>
#include <utility>

#include "io/disk/backup.h"
#include "io/disk/file_read.h"
#include "io/disk/link_target.h"
#include "io/disk/safe_write.h"
#include "io/loaded_notes.h"
#include "io/xml/read_limits.h"
#include "io/xml/spline_reader.h"
#include "io/xml/spline_writer.h"

namespace velmora {

namespace {

// Creates a zero-byte file at `path` only if nothing is there; an existing
// file is never truncated.
Status CreateEmptyFile(const FileSystem& fs, const std::string& path) {
    FileHandle file;
    Status created = fs.CreateNew(path, 0666, &file);
    if (created.ok()) {
        created = fs.Close(file);
    }
    return created.ok() ? Status{} : CouldNot("create", path, created);
}

// A failed save that tells whether there was a file before it, and what to
// do: whatever stands in the way that can be seen, else what `why` suggests.
SaveOutcome SaveFailed(Status why, bool hadFile, const std::string& path, const FileSystem& fs,
                       SaveOutcome so_far = {}) {
    const SaveCheck check = CheckSaveable(path, fs);
    so_far.remedy = check.status.ok() ? RemedyFor(why.code) : check.remedy;
    so_far.status = std::move(why);
    so_far.hadFile = hadFile;
    return so_far;
}

}  // namespace

// Remembers the path; nothing is read or written until Load or Save.
SplineFile::SplineFile(std::string path, const FileSystem& fs)
    : m_path(std::move(path)), m_fs(&fs) {}

// Whatever is read is left exactly as found and remembered, so that the
// first save can keep it beside the new file instead of destroying it.
LoadOutcome SplineFile::Load(NoteSet& notes) {
    m_known = KnownVersion::None();
    m_first = FirstBackup();
    ReadOutcome read = ReadWholeFile(m_path, *m_fs);
    switch (read.found) {
    case ReadStatus::kMissing: {
        // Through a dangling link this creates the file the link names.
        m_known = KnownVersion::Bytes({});
        const LinkTarget target = FollowLinks(m_path, *m_fs);
        Status created = target.status.ok() ? CreateEmptyFile(*m_fs, target.path)
                                            : CouldNot("create", target.path, target.status.error);
        return created.ok() ? NothingLoaded(LoadStatus::kCreated)
                            : NothingLoaded(LoadStatus::kEmpty, created);
    }
    case ReadStatus::kNotAFile: return LoadFromRead(read, notes);
    case ReadStatus::kFailed: {
        m_first = FirstBackup::Due(false);
        FileInfo info;
        if (m_fs->Inspect(m_path, Links::kFollow, &info).ok()) {
            m_known = KnownVersion::Identity(IdentityOf(info));
        }
        LoadOutcome out = LoadFromRead(read, notes);
        out.saving = CheckSaveable(m_path, *m_fs);
        return out;
    }
    case ReadStatus::kRead: break;
    }
    LoadOutcome out = LoadFromRead(read, notes);
    out.saving = CheckSaveable(m_path, *m_fs);
    if (out.found != LoadStatus::kEmpty) {
        m_first = FirstBackup::Due(out.found == LoadStatus::kLoaded);
    }
    m_known = KnownVersion::Bytes(std::move(read.bytes));
    return out;
}

std::string SplineFile::NextBackup() const {
    const std::string base = m_path + ".bak";
    return BackupName(base, NextBackupNumber(*m_fs, base));
}

// Only the notes are kept here; the print waits for the first save.
void SplineFile::MatchLoaded(const NoteSet& notes, int32_t width, int32_t height) {
    m_first.Offer(notes, width, height, m_known.KnownBytes());
}

void SplineFile::SettleMatch(const NoteSet& notes, int32_t width, int32_t height,
                             const std::string& text) {
    m_first.Settle(notes, width, height, text, m_known.KnownBytes());
}

void SplineFile::DisownKnown() { m_known = KnownVersion::None(); }

// A version is dropped only when it is what this file last read or wrote
// and nobody holds it for writing: a program that rewrites the file in place
// empties it first, and writes into it after a save has swapped it out, so
// even an empty version may be the start of another program's. A version
// kept by a save that then failed is still the one on disk, and safe: a
// retry need not keep it again.
SaveOutcome SplineFile::Save(const NoteSet& notes, int32_t width, int32_t height) {
    std::string text = PrintSplines(notes, width, height);
    SettleMatch(notes, width, height, text);
    const WriteOutcome check = CheckReplaceable(m_path, *m_fs);
    FileInfo info;
    const bool hadFile = !check.path.empty() &&
                         m_fs->Inspect(check.path, Links::kFollow, &info).ok() &&
                         info.kind == FileKind::kRegular;
    // Never write a file that the next start would refuse to read.
    if (Status refusal = CheckWriteLimits(text); !refusal.ok()) {
        SaveOutcome out = SaveFailed(std::move(refusal), hadFile, m_path, *m_fs);
        out.remedy = "Delete some points or splines";
        return out;
    }
    if (!check.status.ok()) {
        return SaveFailed(check.status, hadFile, m_path, *m_fs);
    }

    VersionKeeper keeper(m_known, m_first.IsDue());
    const WriteOutcome written =
        ReplaceKeeping(check.path, text, m_path + ".bak", std::ref(keeper), *m_fs);
    SaveOutcome out;
    out.backup = written.backup;
    out.changedElsewhere = keeper.SawChange() && !written.backup.empty();
    if (!written.status.ok()) {
        if (!written.backup.empty()) {
            m_first.Done();
            m_known = keeper.LastKept();
        }
        return SaveFailed(written.status, hadFile, m_path, *m_fs, std::move(out));
    }
    m_known = KnownVersion::Bytes(std::move(text));
    m_first.Done();
    out.hadFile = hadFile;
    return out;
}

}  // namespace velmora
