#pragma once

#include <string>

#include "io/disk/file_system.h"
#include "io/status.h"

namespace velmora {

// Whether `entry` is the name of a temporary file that a save of the file
// `name` creates: ".<name>.<six letters or digits>.velmora-save". Where that
// would not fit in a folder entry (255 bytes), <name> is its first bytes,
// '~' and a digest of the whole name. No other name is ever removed by a save.
bool IsTemporaryOf(const std::string& entry, const std::string& name);

// Removes the temporary files of saves of `name` in `folder` whose writer
// has gone: every writer holds a lock on its temporary file while it lives.
// Nothing is removed while any save in `folder` is live (see LiveSaveMark).
void RemoveStaleTemporaries(const FileSystem& fs, const std::string& folder,
                            const std::string& name);

// Marks a save in `folder` as live for as long as it lives: a shared lock on
// the folder itself, which the clean-up of killed saves' temporary files
// needs exclusively. So no clean-up runs while a save has a file under a
// hidden name that it could not lock beforehand: the version an exchange has
// just swapped out. Where the folder cannot be locked (no locks on that file
// system), no clean-up can run there either.
class LiveSaveMark {
public:
    LiveSaveMark(const FileSystem& fs, const std::string& folder);
    ~LiveSaveMark();
    LiveSaveMark(const LiveSaveMark&) = delete;
    LiveSaveMark& operator=(const LiveSaveMark&) = delete;

private:
    const FileSystem& m_fs;
    FileHandle m_folder;
};

// Takes the lock that marks an open temporary file as in use. Ok also where
// the file system has no locks (no clean-up can take one there either); else
// fails with the system's error (kBusy: a clean-up holds it).
Status LockTemporary(const FileSystem& fs, const FileHandle& file);

// A temporary file written in `folder` for the file `name` there. It is
// locked for as long as the guard lives, so no other save takes it for the
// leftover of a killed one. When the guard goes, whatever has its hidden
// name then is removed, unless Release() was called.
class TempFile {
public:
    TempFile(const FileSystem& fs, std::string folder, std::string name);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Opens the file, without a name where the file system offers that, else
    // under a fresh hidden name. Fails with the system's error.
    Status Open();
    // The file to write on; not open once closed.
    const FileHandle& File() const { return m_file; }
    // The hidden name, or "" while the file has none.
    const std::string& Name() const { return m_name; }
    // Gives an unnamed file a fresh hidden name; a named one keeps its own.
    // Fails with the system's error.
    Status GiveHiddenName();
    // Gives an unnamed file the name `path`, which must be free. Fails with
    // the system's error (kExists when `path` is taken).
    Status NameUnnamed(const std::string& path);
    // Closes the file written on; a failing close can mean lost data
    // (NFS). The lock stays until the guard goes. Fails with the system's
    // error.
    Status Close();
    // What has the hidden name now stays there.
    void Release() { m_name.clear(); }

private:
    Status Lock();
    // A hidden name for this file, with random letters of its own.
    std::string FreshName() const;

    const FileSystem& m_fs;
    std::string m_folder;
    std::string m_family;  // the name's part in hidden names
    FileHandle m_file;
    FileHandle m_lock;  // a second handle: the lock outlasts Close()
    std::string m_name;
};

}  // namespace velmora
