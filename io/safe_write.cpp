#include "io/safe_write.h"

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/link_target.h"

namespace velmora {

namespace {

constexpr char kTempEnding[] = ".velmora-save";
constexpr std::size_t kRandomLetters = 6;

// Writes the new file's content to `fd`; returns "" or why it failed.
using Filler = std::function<std::string(int fd)>;

// A failed outcome with `reason`.
WriteOutcome Refused(std::string reason) {
    WriteOutcome out;
    out.ok = false;
    out.reason = std::move(reason);
    return out;
}

// "could not <step> <path>: <system reason>" as a failed outcome.
WriteOutcome Failed(const std::string& step, const std::string& path, int error) {
    return Refused(CouldNot(step, path, error));
}

// A successful outcome that wrote `path`.
WriteOutcome Written(const std::string& path) {
    WriteOutcome out;
    out.path = path;
    return out;
}

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Letters and digits from the system's random source; the clock stands in
// when that fails, the name is still checked for being free.
std::string RandomLetters() {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char raw[kRandomLetters] = {};
    if (::getrandom(raw, sizeof raw, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof raw)) {
        auto seed = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& r : raw) {
            r = static_cast<unsigned char>(seed);
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        }
    }
    std::string letters;
    for (const unsigned char r : raw) {
        letters += kAlphabet[r % (sizeof kAlphabet - 1)];
    }
    return letters;
}

// A fresh hidden name for a temporary file of `family` in `folder`.
std::string HiddenName(const std::string& folder, const std::string& family) {
    return folder + "/." + family + "." + RandomLetters() + kTempEnding;
}

// The permission bits a file gets when it is created new: 0666 less the umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes all of `data`, resuming after short writes and interruptions.
// Returns 0 or the errno of the failed write.
int WriteAll(const FileSystem& fs, int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = fs.Write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (done == 0) {
            return EIO;  // no progress and no error: give up rather than spin
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return 0;
}

// Flushes the folder so the rename itself survives a crash. This is best
// effort: the new file is already in place, and some file systems cannot
// flush a folder at all, so a failure here is not a failed save.
void FlushFolder(const FileSystem& fs, const std::string& folder) {
    const int fd = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fs.Fsync(fd);
        fs.Close(fd);
    }
}

// Removes the temporary files of `family` in `folder` whose writer has gone.
// A writer holds an exclusive lock on its temporary file for as long as it
// lives, and the system drops the lock when the process ends however it
// ends, so a file that can be locked at once belongs to a save that was
// killed half-way.
void RemoveStaleTemporaries(const FileSystem& fs, const std::string& folder,
                            const std::string& family) {
    DIR* dir = fs.OpenDir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = fs.ReadDir(dir)) {
        if (!IsTemporaryOf(entry->d_name, family)) {
            continue;
        }
        const std::string temp = folder + "/" + entry->d_name;
        const int fd = fs.Open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (fs.Fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            fs.Flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fs.Unlink(temp.c_str());
        }
        fs.Close(fd);
    }
    fs.CloseDir(dir);
}

// A temporary file being written. The lock lives on a second descriptor, so
// it outlasts the close before the file is moved into place.
struct Temp {
    int fd = -1;
    int lock = -1;
    std::string name;  // empty while the file has no name
};

// Opens a temporary file in `folder`: one without a name where the file
// system offers that, else one under a hidden name nobody would choose.
// Returns 0 or the errno.
int OpenTemp(const FileSystem& fs, const std::string& folder, const std::string& family,
             Temp& temp) {
    temp.fd = fs.OpenUnnamed(folder.c_str(), 0600);
    for (int attempt = 0; temp.fd < 0; ++attempt) {
        temp.name = HiddenName(folder, family);
        temp.fd = fs.Open(temp.name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (temp.fd < 0 && (errno != EEXIST || attempt == 100)) {
            temp.name.clear();
            return errno;
        }
    }
    fs.Flock(temp.fd, LOCK_EX);
    temp.lock = fs.Dup(temp.fd);
    return 0;
}

// Gives the unnamed file open on `fd` the name `name`. Returns 0 or the errno.
int NameUnnamed(const FileSystem& fs, int fd, const std::string& name) {
    return fs.LinkUnnamed(fd, name.c_str()) == 0 ? 0 : errno;
}

// Closes the temporary file; a failing close can mean lost data (NFS).
WriteOutcome CloseTemp(const FileSystem& fs, Temp& temp, const std::string& path) {
    const int fd = temp.fd;
    temp.fd = -1;  // close() releases the descriptor even when it fails
    return fs.Close(fd) == 0 ? WriteOutcome{} : Failed("finish writing", path, errno);
}

// Moves the finished temporary file over `path`. An unnamed file gets a
// hidden name first: rename is the one step that replaces atomically.
WriteOutcome PlaceOver(const FileSystem& fs, Temp& temp, const std::string& path,
                       const std::string& family) {
    if (temp.name.empty()) {
        const std::string name = HiddenName(FolderOf(path), family);
        if (const int error = NameUnnamed(fs, temp.fd, name); error != 0) {
            return Failed("name the temporary file for", path, error);
        }
        temp.name = name;
    }
    if (WriteOutcome closed = CloseTemp(fs, temp, path); !closed.ok) {
        return closed;
    }
    if (fs.Rename(temp.name.c_str(), path.c_str()) != 0) {
        return Failed("replace", path, errno);
    }
    temp.name.clear();
    return Written(path);
}

// Links the named temporary file as `to` without replacing anything, on
// file systems without hard links by a check and a rename. Returns 0 or the
// errno (EEXIST when `to` is taken).
int LinkNew(const FileSystem& fs, const std::string& from, const std::string& to) {
    if (fs.Link(from.c_str(), to.c_str()) == 0) {
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
        return errno;
    }
    struct stat info {};
    if (fs.Lstat(to.c_str(), &info) == 0) {
        return EEXIST;
    }
    return fs.Rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Gives the finished temporary file the first free name of `path`,
// `path`.1, `path`.2 and so on.
WriteOutcome PlaceUnderFreeName(const FileSystem& fs, Temp& temp, const std::string& path) {
    const bool named = !temp.name.empty();
    if (named) {
        if (WriteOutcome closed = CloseTemp(fs, temp, path); !closed.ok) {
            return closed;
        }
    }
    for (int n = 0;; ++n) {
        const std::string candidate = n == 0 ? path : path + "." + std::to_string(n);
        const int error =
            named ? LinkNew(fs, temp.name, candidate) : NameUnnamed(fs, temp.fd, candidate);
        if (error == EEXIST && n < 1000000) {
            continue;
        }
        if (error != 0) {
            return Failed("create", candidate, error);
        }
        if (named) {
            fs.Unlink(temp.name.c_str());  // gone already after a rename
            temp.name.clear();
        } else if (WriteOutcome closed = CloseTemp(fs, temp, candidate); !closed.ok) {
            fs.Unlink(candidate.c_str());
            return closed;
        }
        return Written(candidate);
    }
}

// Fills a temporary file in the folder of `path` and moves it into place:
// over `path`, or, with `freeName`, to the first free name from `path` on.
// `owner`, when given, is the file replaced, whose owner and group the new
// file takes where the system allows it.
WriteOutcome WriteThrough(const std::string& path, const std::string& family, mode_t mode,
                          const struct stat* owner, const Filler& fill, bool freeName,
                          const FileSystem& fs) {
    const std::string folder = FolderOf(path);
    RemoveStaleTemporaries(fs, folder, family);
    Temp temp;
    if (const int error = OpenTemp(fs, folder, family, temp); error != 0) {
        return Failed("create a temporary file next to", path, error);
    }
    // Owner first: changing it clears the set-id bits that fchmod then sets.
    if (owner != nullptr && fs.Fchown(temp.fd, owner->st_uid, owner->st_gid) != 0) {
        fs.Fchown(temp.fd, static_cast<uid_t>(-1), owner->st_gid);
    }
    WriteOutcome out;
    if (fs.Fchmod(temp.fd, mode) != 0) {
        out = Failed("set the permissions of", path, errno);
    } else if (std::string reason = fill(temp.fd); !reason.empty()) {
        out = Refused(std::move(reason));
    } else if (fs.Fsync(temp.fd) != 0) {
        out = Failed("flush to disk", path, errno);
    } else {
        out = freeName ? PlaceUnderFreeName(fs, temp, path) : PlaceOver(fs, temp, path, family);
    }
    if (temp.fd >= 0) {
        fs.Close(temp.fd);
    }
    if (!temp.name.empty()) {
        fs.Unlink(temp.name.c_str());
    }
    if (temp.lock >= 0) {
        fs.Close(temp.lock);
    }
    if (out.ok) {
        FlushFolder(fs, folder);
    }
    return out;
}

// A filler that writes `text`, naming `path` on failure.
Filler TextFiller(const FileSystem& fs, const std::string& text, const std::string& path) {
    return [&fs, &text, path](int fd) -> std::string {
        if (const int error = WriteAll(fs, fd, text.data(), text.size()); error != 0) {
            return CouldNot("write", path, error);
        }
        return {};
    };
}

// A filler that copies what is left to read on `in`, in chunks.
Filler StreamFiller(const FileSystem& fs, int in, const std::string& from, const std::string& to) {
    return [&fs, in, from, to](int fd) -> std::string {
        char chunk[64 * 1024];
        for (;;) {
            const ssize_t got = fs.Read(in, chunk, sizeof chunk);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return CouldNot("read", from, errno);
            }
            if (got == 0) {
                return {};
            }
            if (const int error = WriteAll(fs, fd, chunk, static_cast<std::size_t>(got));
                error != 0) {
                return CouldNot("write", to, error);
            }
        }
    };
}

}  // namespace

bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string head = "." + name + ".";
    const std::size_t tail = sizeof kTempEnding - 1;
    if (entry.size() != head.size() + kRandomLetters + tail ||
        entry.compare(0, head.size(), head) != 0 ||
        entry.compare(head.size() + kRandomLetters, tail, kTempEnding) != 0) {
        return false;
    }
    for (std::size_t i = head.size(); i < head.size() + kRandomLetters; ++i) {
        if (!IsLetterOrDigit(entry[i])) {
            return false;
        }
    }
    return true;
}

// A file with no write bit at all is refused even where the caller's rights
// would let it through (root): someone made it read-only on purpose.
WriteOutcome CheckReplaceable(const std::string& path, const FileSystem& fs) {
    const LinkTarget target = FollowLinks(path, fs);
    if (target.error != 0) {
        return Failed("follow the link", path, target.error);
    }
    struct stat info {};
    if (fs.Stat(target.path.c_str(), &info) != 0) {
        return errno == ENOENT ? WriteOutcome{} : Failed("inspect", target.path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused("\"" + target.path + "\" is " +
                       (S_ISDIR(info.st_mode) ? "a folder" : "not a regular file") +
                       ", so nothing can be saved under that name");
    }
    if ((info.st_mode & 0222) == 0) {
        return Failed("write", target.path, EACCES);
    }
    if (fs.Access(target.path.c_str(), W_OK) != 0) {
        return Failed("write", target.path, errno);
    }
    return WriteOutcome{};
}

// The link is followed here, so the temporary file lands in the target's
// folder and the rename replaces the target, not the link.
WriteOutcome ReplaceFile(const std::string& path, const std::string& text, const FileSystem& fs) {
    if (WriteOutcome check = CheckReplaceable(path, fs); !check.ok) {
        return check;
    }
    const std::string target = FollowLinks(path, fs).path;
    struct stat info {};
    const bool exists = fs.Stat(target.c_str(), &info) == 0;
    const mode_t mode = exists ? info.st_mode & 07777 : NewFileMode();
    return WriteThrough(target, NameOf(target), mode, exists ? &info : nullptr,
                        TextFiller(fs, text, target), false, fs);
}

// The copy's temporary files carry the name of `path`, so that the one
// clean-up pattern covers them too.
WriteOutcome KeepBackup(const std::string& path, const std::string* bytes, const FileSystem& fs) {
    const std::string base = path + ".bak";
    if (bytes != nullptr) {
        struct stat info {};
        const mode_t mode =
            fs.Stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : NewFileMode();
        return WriteThrough(base, NameOf(path), mode, nullptr, TextFiller(fs, *bytes, base), true,
                            fs);
    }
    const int in = fs.Open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) {
        return Failed("keep a copy of", path, errno);
    }
    struct stat info {};
    WriteOutcome out;
    if (fs.Fstat(in, &info) != 0) {
        out = Failed("inspect", path, errno);
    } else if (!S_ISREG(info.st_mode)) {
        out = Refused("could not keep a copy of \"" + path + "\": it is not a regular file");
    } else {
        out = WriteThrough(base, NameOf(path), info.st_mode & 07777, nullptr,
                           StreamFiller(fs, in, path, base), true, fs);
    }
    fs.Close(in);
    return out;
}

}  // namespace velmora
