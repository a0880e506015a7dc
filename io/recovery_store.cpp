#include "io/recovery_store.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>

#include "io/disk/file_steps.h"

namespace velmora {

namespace {

constexpr const char kCopySuffix[] = ".recovery";
constexpr const char kLockSuffix[] = ".lock";
constexpr const char kReplacementSuffix[] = ".new";

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Creates `folder` and the folders above it that are missing, 0700 each,
// flushing the folder each is created in.
Status MakeFolders(const FileSystem& fs, const std::string& folder) {
    if (fs.MakeFolder(folder.c_str(), 0700) == 0 || errno == EEXIST) {
        return {};
    }
    const std::string::size_type slash = folder.find_last_of('/');
    if (errno != ENOENT || slash == std::string::npos || slash == 0) {
        return CouldNot("create", folder, errno);
    }
    const std::string parent = folder.substr(0, slash);
    if (Status made = MakeFolders(fs, parent); !made.ok) {
        return made;
    }
    if (fs.MakeFolder(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return CouldNot("create", folder, errno);
    }
    FlushFolder(fs, parent);
    return {};
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder, const FileSystem& fs)
    : m_folder(std::move(folder)), m_fs(&fs) {}

RecoveryStore::~RecoveryStore() {
    for (const auto& [name, lock] : m_claimed)
        m_fs->Close(lock);
    if (m_ownFd >= 0)
        m_fs->Close(m_ownFd);
    if (m_ownLock >= 0)
        m_fs->Close(m_ownLock);
}

std::string RecoveryStore::LockPathOf(const std::string& name) const {
    const std::string stem = name.substr(0, name.size() - (sizeof kCopySuffix - 1));
    return PathOf(stem + kLockSuffix);
}

std::vector<std::string> RecoveryStore::ClaimEnded(const std::string& prefix) {
    std::vector<std::string> found;
    DIR* dir = m_fs->OpenDir(m_folder.c_str());
    if (dir == nullptr) {
        return found;
    }
    while (const dirent* entry = m_fs->ReadDir(dir)) {
        std::string name = entry->d_name;
        // A replacement a crash left behind stands for its copy, so that it
        // goes with it, or alone when the copy was never made.
        if (EndsWith(name, std::string(kCopySuffix) + kReplacementSuffix)) {
            name.resize(name.size() - (sizeof kReplacementSuffix - 1));
        }
        if (name.compare(0, prefix.size(), prefix) == 0 && EndsWith(name, kCopySuffix) &&
            name != m_own && m_claimed.count(name) == 0) {
            found.push_back(name);
        }
    }
    m_fs->CloseDir(dir);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());

    std::vector<std::string> claimed;
    for (const std::string& name : found) {
        const std::string lockPath = LockPathOf(name);
        const int lock =
            m_fs->Open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (lock < 0) {
            continue;
        }
        if (m_fs->Flock(lock, LOCK_EX | LOCK_NB) != 0) {
            m_fs->Close(lock);  // its editor runs, or locks cannot tell
            continue;
        }
        m_claimed[name] = lock;
        claimed.push_back(name);
    }
    return claimed;
}

ReadOutcome RecoveryStore::Read(const std::string& name) const {
    return ReadWholeFile(PathOf(name), *m_fs);
}

Status RecoveryStore::RemoveFiles(const std::string& name, int lock) {
    const std::string path = PathOf(name);
    Status status;
    if (m_fs->Unlink(path.c_str()) != 0 && errno != ENOENT) {
        status = CouldNot("remove", path, errno);
    }
    m_fs->Unlink((path + kReplacementSuffix).c_str());
    // The lock file goes last: while the copy is there, its lock guards it.
    if (status.ok) {
        m_fs->Unlink(LockPathOf(name).c_str());
    }
    if (lock >= 0) {
        m_fs->Close(lock);
    }
    return status;
}

Status RecoveryStore::Remove(const std::string& name) {
    const auto claim = m_claimed.find(name);
    const int lock = claim == m_claimed.end() ? -1 : claim->second;
    if (claim != m_claimed.end()) {
        m_claimed.erase(claim);
    }
    return RemoveFiles(name, lock);
}

void RecoveryStore::Release(const std::string& name) {
    const auto claim = m_claimed.find(name);
    if (claim != m_claimed.end()) {
        m_fs->Close(claim->second);
        m_claimed.erase(claim);
    }
}

Status RecoveryStore::TakeOwnLock(const std::string& name) {
    if (Status made = MakeFolders(*m_fs, m_folder); !made.ok) {
        return made;
    }
    const std::string lockPath = LockPathOf(name);
    const int lock = m_fs->Open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock < 0) {
        return CouldNot("create", lockPath, errno);
    }
    if (m_fs->Flock(lock, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        m_fs->Close(lock);
        return CouldNot("lock", lockPath, error);
    }
    m_own = name;
    m_ownLock = lock;
    return {};
}

// Written beside the copy under a name of its own, flushed, then renamed
// over it: a crash leaves the old copy or the new one, never a mix.
Status RecoveryStore::Replace(const std::string& name, const std::string& bytes) {
    if (m_own != name) {
        if (!m_own.empty()) {
            RemoveOwn();
        }
        if (Status locked = TakeOwnLock(name); !locked.ok) {
            return locked;
        }
    }
    const std::string path = PathOf(name);
    const std::string replacement = path + kReplacementSuffix;
    const int fd =
        m_fs->Open(replacement.c_str(),
                   O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return CouldNot("create", replacement, errno);
    }
    Status status = TextFiller(*m_fs, bytes, replacement)(fd);
    if (status.ok && m_fs->Fsync(fd) != 0) {
        status = CouldNot("flush to disk", replacement, errno);
    }
    if (status.ok && m_fs->Rename(replacement.c_str(), path.c_str()) != 0) {
        status = CouldNot("rename", replacement, errno);
    }
    if (!status.ok) {
        m_fs->Close(fd);
        m_fs->Unlink(replacement.c_str());
        return status;
    }
    FlushFolder(*m_fs, m_folder);
    if (m_ownFd >= 0) {
        m_fs->Close(m_ownFd);
    }
    m_ownFd = fd;
    return {};
}

Status RecoveryStore::Append(const std::string& bytes) {
    const std::string path = PathOf(m_own);
    if (m_ownFd < 0) {
        return CouldNot("write", path, EBADF);
    }
    if (Status written = TextFiller(*m_fs, bytes, path)(m_ownFd); !written.ok) {
        return written;
    }
    if (m_fs->Fsync(m_ownFd) != 0) {
        return CouldNot("flush to disk", path, errno);
    }
    return {};
}

Status RecoveryStore::RemoveOwn() {
    if (m_own.empty()) {
        return {};
    }
    if (m_ownFd >= 0) {
        m_fs->Close(m_ownFd);
        m_ownFd = -1;
    }
    const std::string name = std::exchange(m_own, std::string());
    return RemoveFiles(name, std::exchange(m_ownLock, -1));
}

}  // namespace velmora
