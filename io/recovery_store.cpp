#include "io/recovery_store.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "io/disk/file_steps.h"
#include "io/disk/path_parts.h"

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
    const Status first = fs.MakeFolder(folder, 0700);
    if (first.ok() || first.code == StatusCode::kExists) {
        return {};
    }
    const std::string::size_type slash = folder.find_last_of(kPathSeparators);
    if (first.code != StatusCode::kNotFound || slash == std::string::npos || slash == 0) {
        return CouldNot("create", folder, first);
    }
    const std::string parent = folder.substr(0, slash);
    if (Status made = MakeFolders(fs, parent); !made.ok()) {
        return made;
    }
    if (const Status made = fs.MakeFolder(folder, 0700);
        !made.ok() && made.code != StatusCode::kExists) {
        return CouldNot("create", folder, made);
    }
    FlushFolder(fs, parent);
    return {};
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder, const FileSystem& fs)
    : m_folder(std::move(folder)), m_fs(&fs) {}

RecoveryStore::~RecoveryStore() {
    for (auto& [name, lock] : m_claimed)
        m_fs->Close(lock);
    if (m_ownFile.IsOpen())
        m_fs->Close(m_ownFile);
    if (m_ownLock.IsOpen())
        m_fs->Close(m_ownLock);
}

std::string RecoveryStore::LockPathOf(const std::string& name) const {
    const std::string stem = name.substr(0, name.size() - (sizeof kCopySuffix - 1));
    return PathOf(stem + kLockSuffix);
}

std::vector<std::string> RecoveryStore::ClaimEnded(const std::string& prefix) {
    std::vector<std::string> found;
    std::vector<std::string> entries;
    if (!m_fs->ListFolder(m_folder, &entries).ok()) {
        return found;
    }
    for (std::string& name : entries) {
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
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());

    std::vector<std::string> claimed;
    for (const std::string& name : found) {
        const std::string lockPath = LockPathOf(name);
        FileHandle lock;
        if (!m_fs->OpenPrivate(lockPath, false, &lock).ok()) {
            continue;
        }
        if (!m_fs->Lock(lock, LockKind::kExclusive).ok()) {
            m_fs->Close(lock);  // its editor runs, or locks cannot tell
            continue;
        }
        m_claimed[name] = std::move(lock);
        claimed.push_back(name);
    }
    return claimed;
}

ReadOutcome RecoveryStore::Read(const std::string& name) const {
    return ReadWholeFile(PathOf(name), *m_fs);
}

Status RecoveryStore::RemoveFiles(const std::string& name, FileHandle lock) {
    const std::string path = PathOf(name);
    Status status;
    if (const Status removed = m_fs->Remove(path);
        !removed.ok() && removed.code != StatusCode::kNotFound) {
        status = CouldNot("remove", path, removed);
    }
    m_fs->Remove(path + kReplacementSuffix);
    // The lock file goes last: while the copy is there, its lock guards it.
    if (status.ok()) {
        m_fs->Remove(LockPathOf(name));
    }
    if (lock.IsOpen()) {
        m_fs->Close(lock);
    }
    return status;
}

Status RecoveryStore::Remove(const std::string& name) {
    const auto claim = m_claimed.find(name);
    FileHandle lock;
    if (claim != m_claimed.end()) {
        lock = std::move(claim->second);
        m_claimed.erase(claim);
    }
    return RemoveFiles(name, std::move(lock));
}

void RecoveryStore::Release(const std::string& name) {
    const auto claim = m_claimed.find(name);
    if (claim != m_claimed.end()) {
        m_fs->Close(claim->second);
        m_claimed.erase(claim);
    }
}

Status RecoveryStore::TakeOwnLock(const std::string& name) {
    if (Status made = MakeFolders(*m_fs, m_folder); !made.ok()) {
        return made;
    }
    const std::string lockPath = LockPathOf(name);
    FileHandle lock;
    if (const Status opened = m_fs->OpenPrivate(lockPath, false, &lock); !opened.ok()) {
        return CouldNot("create", lockPath, opened);
    }
    if (const Status locked = m_fs->Lock(lock, LockKind::kExclusive); !locked.ok()) {
        m_fs->Close(lock);
        return CouldNot("lock", lockPath, locked);
    }
    m_own = name;
    m_ownLock = std::move(lock);
    return {};
}

// Written beside the copy under a name of its own, flushed, then renamed
// over it: a crash leaves the old copy or the new one, never a mix.
Status RecoveryStore::Replace(const std::string& name, const std::string& bytes) {
    if (m_own != name) {
        if (!m_own.empty()) {
            RemoveOwn();
        }
        if (Status locked = TakeOwnLock(name); !locked.ok()) {
            return locked;
        }
    }
    const std::string path = PathOf(name);
    const std::string replacement = path + kReplacementSuffix;
    FileHandle file;
    if (const Status opened = m_fs->OpenPrivate(replacement, true, &file); !opened.ok()) {
        return CouldNot("create", replacement, opened);
    }
    Status status = TextFiller(*m_fs, bytes, replacement)(file);
    if (status.ok()) {
        if (const Status flushed = m_fs->Flush(file); !flushed.ok()) {
            status = CouldNot("flush to disk", replacement, flushed);
        }
    }
    // Windows renames over no file that is open (short of the POSIX rename
    // of recent NTFS), so the old copy is let go first.
    if (status.ok() && m_ownFile.IsOpen()) {
        m_fs->Close(m_ownFile);
    }
    if (status.ok()) {
        if (const Status renamed = m_fs->Rename(replacement, path); !renamed.ok()) {
            status = CouldNot("rename", replacement, renamed);
        }
    }
    if (!status.ok()) {
        m_fs->Close(file);
        m_fs->Remove(replacement);
        return status;
    }
    FlushFolder(*m_fs, m_folder);
    if (m_ownFile.IsOpen()) {
        m_fs->Close(m_ownFile);
    }
    m_ownFile = std::move(file);
    return {};
}

Status RecoveryStore::Append(const std::string& bytes) {
    const std::string path = PathOf(m_own);
    if (!m_ownFile.IsOpen()) {
        return CouldNot("write", path, EBADF);
    }
    if (Status written = TextFiller(*m_fs, bytes, path)(m_ownFile); !written.ok()) {
        return written;
    }
    if (const Status flushed = m_fs->Flush(m_ownFile); !flushed.ok()) {
        return CouldNot("flush to disk", path, flushed);
    }
    return {};
}

Status RecoveryStore::RemoveOwn() {
    if (m_own.empty()) {
        return {};
    }
    if (m_ownFile.IsOpen()) {
        m_fs->Close(m_ownFile);
    }
    const std::string name = std::exchange(m_own, std::string());
    return RemoveFiles(name, std::move(m_ownLock));
}

}  // namespace velmora
