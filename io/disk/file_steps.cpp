#include "io/disk/file_steps.h"

#include <cerrno>

namespace velmora {

namespace {

// Writes all of `data`, resuming after short writes and interruptions; a
// failure names `path`.
Status WriteAll(const FileSystem& fs, const FileHandle& file, const char* data, std::size_t size,
                const std::string& path) {
    while (size > 0) {
        std::size_t done = 0;
        if (const Status written = fs.Write(file, data, size, &done); !written.ok()) {
            if (written.code == StatusCode::kInterrupted) {
                continue;
            }
            return CouldNot("write", path, written);
        }
        if (done == 0) {
            return CouldNot("write", path, EIO);  // no progress and no error: give up
        }
        data += done;
        size -= done;
    }
    return {};
}

}  // namespace

Likeness LikenessOf(const FileInfo& info) {
    return Likeness{info.permissions & 0777u, info.owner, info.group};
}

Likeness NewFileLikeness(const FileSystem& fs) {
    return Likeness{fs.NewFilePermissions(), kNoOwner, kNoOwner};
}

// A saver who may not give the file away may still give it a group of
// their own; failing both, the file stays the saver's.
Status TakeLikeness(const FileSystem& fs, const FileHandle& file, const Likeness& like,
                    const std::string& path) {
    if (!fs.SetOwner(file, like.owner, like.group).ok()) {
        fs.SetOwner(file, kNoOwner, like.group);
    }
    if (const Status set = fs.SetPermissions(file, like.permissions); !set.ok()) {
        return CouldNot("set the permissions of", path, set);
    }
    return {};
}

Filler TextFiller(const FileSystem& fs, const std::string& text, const std::string& path) {
    return [&fs, &text, path](const FileHandle& file) {
        return WriteAll(fs, file, text.data(), text.size(), path);
    };
}

Filler StreamFiller(const FileSystem& fs, const FileHandle& in, const std::string& from,
                    const std::string& to) {
    return [&fs, &in, from, to](const FileHandle& file) -> Status {
        char chunk[64 * 1024];
        for (;;) {
            std::size_t got = 0;
            if (const Status read = fs.Read(in, chunk, sizeof chunk, &got); !read.ok()) {
                if (read.code == StatusCode::kInterrupted) {
                    continue;
                }
                return CouldNot("read", from, read);
            }
            if (got == 0) {
                return {};
            }
            if (Status written = WriteAll(fs, file, chunk, got, to); !written.ok()) {
                return written;
            }
        }
    };
}

Status FillNewFile(const FileSystem& fs, const FileHandle& file, const Likeness& like,
                   const Filler& fill, const std::string& path) {
    if (Status taken = TakeLikeness(fs, file, like, path); !taken.ok()) {
        return taken;
    }
    if (Status filled = fill(file); !filled.ok()) {
        return filled;
    }
    if (const Status flushed = fs.Flush(file); !flushed.ok()) {
        return CouldNot("flush to disk", path, flushed);
    }
    return {};
}

Status LinkNew(const FileSystem& fs, const std::string& from, const std::string& to) {
    const Status linked = fs.Link(from, to);
    if (linked.ok()) {
        return {};
    }
    if (linked.code != StatusCode::kNotSupported) {
        return CouldNot("create", to, linked);
    }
    FileInfo info;
    if (fs.Inspect(to, Links::kNoFollow, &info).ok()) {
        return CouldNot("create", to, EEXIST);
    }
    if (const Status renamed = fs.Rename(from, to); !renamed.ok()) {
        return CouldNot("create", to, renamed);
    }
    return {};
}

void FlushFolder(const FileSystem& fs, const std::string& folder) {
    FileHandle handle;
    if (fs.OpenFolder(folder, &handle).ok()) {
        fs.Flush(handle);
        fs.Close(handle);
    }
}

}  // namespace velmora
