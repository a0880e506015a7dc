#include "io/disk/temp_file.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include "io/disk/file_identity.h"
#include "io/disk/file_steps.h"

namespace velmora {

namespace {

constexpr char kTempEnding[] = ".velmora-save";
constexpr std::size_t kRandomLetters = 6;
constexpr std::size_t kNameMax = 255;  // bytes of one folder entry, as on every Linux file system
// ".", ".", the letters and the ending around the name's part.
constexpr std::size_t kFamilyMax = kNameMax - 2 - kRandomLetters - (sizeof kTempEnding - 1);
constexpr std::size_t kDigestLetters = 8;

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The part of hidden names that stands for `name`: the name itself, or,
// when that is too long, its first bytes and a digest of all of it, so that
// two long names alike at the start still get temporaries of their own.
std::string FamilyOf(const std::string& name) {
    if (name.size() <= kFamilyMax) {
        return name;
    }
    std::uint32_t digest = 2166136261u;  // FNV-1a
    for (const char c : name) {
        digest = (digest ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string out = name.substr(0, kFamilyMax - 1 - kDigestLetters) + "~";
    for (int shift = 28; shift >= 0; shift -= 4) {
        out += kHex[(digest >> shift) & 0xF];
    }
    return out;
}

// Letters and digits from the system's random source; the clock stands in
// when that fails, the name is still checked for being free.
std::string RandomLetters(const FileSystem& fs) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char raw[kRandomLetters] = {};
    if (fs.Random(raw, sizeof raw) != static_cast<ssize_t>(sizeof raw)) {
        auto seed = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& r : raw) {
            r = static_cast<unsigned char>(seed >> 33);
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        }
    }
    std::string letters;
    for (const unsigned char r : raw) {
        letters += kAlphabet[r % (sizeof kAlphabet - 1)];
    }
    return letters;
}

}  // namespace

bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string head = "." + FamilyOf(name) + ".";
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

// The system drops a lock when its process ends, however it ends, so a
// temporary file that can be locked at once belongs to a save that was
// killed half-way, unless a live save holds the folder.
void RemoveStaleTemporaries(const FileSystem& fs, const std::string& folder,
                            const std::string& name) {
    const int folderFd = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return;
    }
    if (fs.Flock(folderFd, LOCK_EX | LOCK_NB) != 0) {
        fs.Close(folderFd);
        return;
    }
    DIR* dir = fs.OpenDir(folder.c_str());
    if (dir == nullptr) {
        fs.Close(folderFd);
        return;
    }
    while (const dirent* entry = fs.ReadDir(dir)) {
        if (!IsTemporaryOf(entry->d_name, name)) {
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
    fs.Close(folderFd);  // the folder's lock goes with it
}

// A clean-up holds the folder only for as long as it reads it, so a save
// waits for it briefly; one that never lets go (another program's lock)
// keeps every clean-up out as well, and the save goes on without the mark.
LiveSaveMark::LiveSaveMark(const FileSystem& fs, const std::string& folder) : m_fs(fs) {
    m_fd = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        return;
    }
    constexpr int kTries = 1000;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (fs.Flock(m_fd, LOCK_SH | LOCK_NB) == 0 || (errno != EWOULDBLOCK && errno != EINTR)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LiveSaveMark::~LiveSaveMark() {
    if (m_fd >= 0) {
        m_fs.Close(m_fd);
    }
}

TempFile::TempFile(const FileSystem& fs, std::string folder, std::string name)
    : m_fs(fs), m_folder(std::move(folder)), m_family(FamilyOf(name)) {}

TempFile::~TempFile() {
    if (m_fd >= 0) {
        m_fs.Close(m_fd);
    }
    if (!m_name.empty()) {
        m_fs.Unlink(m_name.c_str());
    }
    if (m_lock >= 0) {
        m_fs.Close(m_lock);
    }
}

Status LockTemporary(const FileSystem& fs, int fd) {
    int result = 0;
    do {
        result = fs.Flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno != ENOLCK && errno != EOPNOTSUPP && errno != ENOSYS &&
        errno != EINVAL) {
        return SystemFailure(errno);
    }
    return {};
}

// The lock is held on a read-only descriptor of its own where /proc gives
// one: it outlasts Close(), and once the file is in place a program that
// asks whether anybody still writes it must hear no. Elsewhere a duplicate
// of the written descriptor holds it.
Status TempFile::Lock() {
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    m_lock = m_fs.Open(self.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_lock < 0) {
        m_lock = m_fs.Dup(m_fd);
    }
    if (m_lock < 0) {
        return SystemFailure(errno);
    }
    return LockTemporary(m_fs, m_lock);
}

// A named file can be taken by another save's clean-up between its
// creation and the lock; then it is left to that clean-up and a new name
// tried.
Status TempFile::Open() {
    m_fd = m_fs.OpenUnnamed(m_folder.c_str(), 0600);
    if (m_fd >= 0) {
        return Lock();
    }
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const std::string name = FreshName();
        m_fd = m_fs.Open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return SystemFailure(errno);
        }
        Status locked = Lock();
        struct stat opened {};
        struct stat named {};
        if (locked.ok && m_fs.Fstat(m_fd, &opened) == 0 && m_fs.Lstat(name.c_str(), &named) == 0 &&
            SameFile(opened, named)) {
            m_name = name;
            return {};
        }
        m_fs.Close(m_fd);
        m_fd = -1;
        if (m_lock >= 0) {
            m_fs.Close(m_lock);
            m_lock = -1;
        }
        if (!locked.ok && locked.code != StatusCode::kBusy) {
            m_fs.Unlink(name.c_str());
            return locked;
        }
    }
    return SystemFailure(EEXIST);
}

std::string TempFile::FreshName() const {
    return m_folder + "/." + m_family + "." + RandomLetters(m_fs) + kTempEnding;
}

Status TempFile::GiveHiddenName() {
    for (int attempt = 1; m_name.empty(); ++attempt) {
        const std::string name = FreshName();
        if (Status named = NameUnnamed(name); !named.ok) {
            if (named.code != StatusCode::kExists || attempt == kMaxAttempts) {
                return named;
            }
            continue;
        }
        m_name = name;
    }
    return {};
}

Status TempFile::NameUnnamed(const std::string& path) {
    return m_fs.LinkUnnamed(m_fd, path.c_str()) == 0 ? Status{} : SystemFailure(errno);
}

Status TempFile::Close() {
    const int fd = m_fd;
    m_fd = -1;  // close() releases the descriptor even when it fails
    return m_fs.Close(fd) == 0 ? Status{} : SystemFailure(errno);
}

}  // namespace velmora
