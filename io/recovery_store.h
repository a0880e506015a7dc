#pragma once

#include <map>
#include <string>
#include <vector>

#include "io/disk/file_read.h"
#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// The folder where editor sessions keep their recovery copies, apart from
// any work folder. A copy `NAME.recovery` has a lock file `NAME.lock` beside
// it, which its editor holds locked while it runs, so a copy whose lock can
// be taken is one whose editor has ended. Folders the store creates get
// 0700, files 0600: the copies hold the user's work. What the copies hold
// is not the store's business.
class RecoveryStore {
public:
    explicit RecoveryStore(std::string folder, const FileSystem& fs = SystemFileSystem());
    // Lets go of every lock it holds and leaves every file.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const std::string& Folder() const { return m_folder; }

    // The names of the copies that begin with `prefix` and whose editors have
    // ended, sorted. Each is claimed: its lock is held, so that no editor
    // starting meanwhile takes it too, until Release or Remove. A copy whose
    // lock cannot be tried (a file system without locks) is never claimed.
    // A store folder that does not exist holds none.
    std::vector<std::string> ClaimEnded(const std::string& prefix);
    // The bytes of copy `name`.
    ReadOutcome Read(const std::string& name) const;
    // Removes copy `name`, with its lock file and any half-written
    // replacement, and lets go of its claim. A copy already gone is ok.
    Status Remove(const std::string& name);
    // Lets go of the claim on copy `name`, leaving it for a later start.
    void Release(const std::string& name);

    // Replaces this session's copy, `name`, with `bytes` in one step,
    // flushed to disk. The first call creates the folder where needed and
    // takes the copy's lock before the copy exists. On failure the copy
    // keeps what it held.
    Status Replace(const std::string& name, const std::string& bytes);
    // Adds `bytes` at the end of this session's copy and flushes them to
    // disk. On failure part of them may be there: replace the copy next.
    Status Append(const std::string& bytes);
    // Removes this session's copy and its lock file; a later Replace starts
    // anew.
    Status RemoveOwn();

private:
    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }
    std::string LockPathOf(const std::string& name) const;
    Status TakeOwnLock(const std::string& name);
    // Removes the copy `name`, its replacement and its lock file, then
    // closes `lock`.
    Status RemoveFiles(const std::string& name, FileHandle lock);

    std::string m_folder;
    const FileSystem* m_fs;
    std::string m_own;  // this session's copy, "" until the first Replace
    FileHandle m_ownLock;
    FileHandle m_ownFile;                         // open on the copy, for appending
    std::map<std::string, FileHandle> m_claimed;  // claimed copies and their locks
};

}  // namespace velmora
