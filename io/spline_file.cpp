#include "io/spline_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "io/file_read.h"
#include "io/read_limits.h"
#include "io/safe_write.h"
#include "io/spline_reader.h"

namespace velmora {

namespace {

// Creates a zero-byte file at `path` only if nothing is there; an existing
// file is never truncated. Returns 0 or the errno.
int CreateEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    return ::close(fd) == 0 ? 0 : errno;
}

}  // namespace

// Remembers the path; nothing is read or written until Load or Save.
SplineFile::SplineFile(std::string path) : m_path(std::move(path)) {}

// An unreadable file is left exactly as found and remembered, so that the
// first save keeps it beside the new one instead of destroying it.
LoadOutcome SplineFile::Load(NoteSet& notes) {
    m_backupPending = false;
    ReadOutcome read = ReadWholeFile(m_path);
    if (read.status == ReadStatus::kMissing) {
        const int error = CreateEmptyFile(m_path);
        if (error == 0) {
            return LoadOutcome{LoadStatus::kCreated, {}, 0, 0};
        }
        return LoadOutcome{LoadStatus::kEmpty,
                           "could not create \"" + m_path + "\": " + std::strerror(error), 0, 0};
    }
    LoadOutcome out = read.status == ReadStatus::kFailed
                          ? LoadOutcome{LoadStatus::kUnreadable, std::move(read.reason), 0, 0}
                          : ReadSplineText(read.bytes, notes);
    m_backupPending = out.status == LoadStatus::kUnreadable;
    return out;
}

// Keeps a pending backup first, then replaces the file; the backup flag is
// cleared only by a save that fully succeeded.
SaveOutcome SplineFile::Save(const NoteSet& notes, const Rect& clientRect) {
    const std::string text = PrintSplines(notes, clientRect);
    // Never write a file that the next start would refuse to read.
    if (std::string refusal = CheckWriteLimits(text); !refusal.empty()) {
        return SaveOutcome{false, std::move(refusal)};
    }
    if (m_backupPending) {
        const WriteOutcome kept = CopyFileSafely(m_path, m_path + ".bak");
        if (!kept.ok) {
            return SaveOutcome{false, kept.reason};
        }
    }
    const WriteOutcome written = ReplaceFile(m_path, text);
    if (!written.ok) {
        return SaveOutcome{false, written.reason};
    }
    m_backupPending = false;
    return SaveOutcome{};
}

}  // namespace velmora
