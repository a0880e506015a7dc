#include "io/disk/file_read.h"

#include <algorithm>
#include <utility>

#include "io/status.h"

namespace velmora {

namespace {

// A read that found `kind` and failed with `status`.
ReadOutcome NotRead(ReadStatus kind, Status status) {
    ReadOutcome out;
    out.status = std::move(status);
    out.found = kind;
    return out;
}

}  // namespace

// The size is checked before and while reading, since the file may grow
// under us.
ReadOutcome ReadWholeFile(const std::string& path, const FileSystem& fs) {
    constexpr std::size_t maxBytes = kMaxSplineFileBytes;
    ReadOutcome out;
    FileHandle file;
    if (const Status opened = fs.OpenForReading(path, Links::kFollow, &file); !opened.ok()) {
        if (opened.code == StatusCode::kNotFound) {
            out.found = ReadStatus::kMissing;
            return out;
        }
        // A socket cannot be opened at all; it is still no file.
        FileInfo info;
        if (fs.Inspect(path, Links::kFollow, &info).ok() && info.kind != FileKind::kRegular) {
            Status notAFile = Failed(NotAFileText("\"" + path + "\"", false), opened.error);
            notAFile.code = opened.code;
            return NotRead(ReadStatus::kNotAFile, std::move(notAFile));
        }
        return NotRead(ReadStatus::kFailed, CouldNot("open", path, opened));
    }

    FileInfo info;
    if (const Status inspected = fs.InspectOpen(file, &info); !inspected.ok()) {
        return NotRead(ReadStatus::kFailed, CouldNot("inspect", path, inspected));
    }
    if (info.kind != FileKind::kRegular) {
        return NotRead(ReadStatus::kNotAFile,
                       Failed(NotAFileText("\"" + path + "\"", info.kind == FileKind::kFolder)));
    }
    const std::string tooLarge = "\"" + path + "\" is " + LargerThanTheLimit();
    if (static_cast<unsigned long long>(info.size) > maxBytes) {
        return NotRead(ReadStatus::kFailed, Failed(tooLarge));
    }

    // Read straight into the result; one byte more than the size we saw
    // tells a file that grew since.
    std::size_t size = 0;
    out.bytes.resize(static_cast<std::size_t>(info.size) + 1);
    for (;;) {
        if (size == out.bytes.size()) {
            if (size > maxBytes) {
                return NotRead(ReadStatus::kFailed, Failed(tooLarge));
            }
            out.bytes.resize(std::min(size * 2 + 1, maxBytes + 1));
        }
        std::size_t got = 0;
        if (const Status read = fs.Read(file, &out.bytes[size], out.bytes.size() - size, &got);
            !read.ok()) {
            if (read.code == StatusCode::kInterrupted) {
                continue;
            }
            return NotRead(ReadStatus::kFailed, CouldNot("read", path, read));
        }
        if (got == 0) {
            break;
        }
        size += got;
    }
    if (size > maxBytes) {
        out.bytes.clear();
        return NotRead(ReadStatus::kFailed, Failed(tooLarge));
    }
    out.bytes.resize(size);
    out.found = ReadStatus::kRead;
    return out;
}

}  // namespace velmora
