#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "io/disk/file_info.h"
#include "io/disk/file_read.h"
#include "io/disk/file_system.h"
#include "io/disk/waitable.h"

namespace velmora {

// Tells a program that reads a file when its content has changed, whichever
// way it was written: a save that renames a new file over it, a writer that
// rewrites it in place, a delete and re-creation, a link re-pointed or its
// target replaced, a folder on the way (or a link to one) replaced. It
// watches the folder of the file, and every folder on the way to it for the
// name of the next step, not the file, which a rename replaces; where the
// system gives no folder events (or a folder cannot be watched) the file is looked at
// every 100 ms. A version that a program still holds open for writing is
// never told (where the system can tell), and one found by looking only once
// it has stayed the same across two looks.
class FileWatch {
public:
    // Starts watching the file at `path`; what it holds now is what the
    // first Changed() compares with. The file need not exist, but the folder
    // that holds `path` must. Returns null, and why in `why` where given,
    // when the watch cannot start.
    static std::unique_ptr<FileWatch> Open(const std::string& path,
                                           const FileSystem& fs = SystemFileSystem(),
                                           Status* why = nullptr);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // What to wait on, the same for the life of the watch: it becomes ready
    // when a change may have happened.
    Waitable Ready() const { return m_port->Ready(); }

    // Never blocks. 1 when the file's content, or its absence, or that it
    // cannot be read, differs from what was seen when Changed last said 1
    // (or when the watch began); 0 when not, and while a writer that changed
    // the file in place still holds it open; -1 when the watch itself
    // failed (Failure() tells why). Changes between two calls count as one, ending
    // in the latest content.
    int Changed();
    const Status& Failure() const { return m_failure; }

    // Whether the file is looked at on a timer rather than through events
    // of its folders.
    bool Polling() const { return m_polling; }

    // Whether the folder that should hold the file is missing (or a folder
    // on the way to it); the watch picks the file up once it is back.
    bool FolderMissing() const { return !m_folderFound; }

private:
    // What reading the file gave; the reason of a failure is not compared.
    struct Seen {
        ReadStatus status = ReadStatus::kMissing;
        std::string bytes;
        bool operator==(const Seen& other) const {
            return status == other.status && bytes == other.bytes;
        }
    };
    // What the system tells of the file, for the timer.
    struct Look {
        StatusCode failure = StatusCode::kOk;
        FileKey key;
        std::int64_t size = 0;
        std::int64_t modified = 0;
        std::int64_t changed = 0;
        bool operator==(const Look& other) const;
    };
    // A watched folder and the names in it that lead to the file.
    struct Folder {
        std::string path;
        std::set<std::string> names;
        bool operator==(const Folder& other) const {
            return path == other.path && names == other.names;
        }
    };

    FileWatch(std::string path, const FileSystem& fs);
    Status Start();
    void Rewatch();
    bool ReadEvents();
    void Take(const FolderEvent& event);
    void Tick();
    void ArmTimer(bool on);
    // 1 when a program has the file open for writing, 0 when none has, -1
    // when that cannot be told.
    int WriterHoldsFile() const;
    Seen ReadNow() const;
    Look LookNow() const;

    std::string m_path;
    const FileSystem& m_fs;
    std::unique_ptr<WatchPort> m_port;
    bool m_timerArmed = false;
    bool m_polling = false;           // some change can only be seen by looking
    bool m_waitingForWriter = false;  // a pending change waits for a writer to close
    std::map<int, Folder> m_folders;  // by the port's watch id
    bool m_folderFound = true;
    bool m_rewatch = false;     // a link or folder on the way may have changed
    bool m_pending = false;     // the content may differ from m_seen
    bool m_writerOpen = false;  // changed in place, not yet closed
    Seen m_seen;
    Look m_look;
    bool m_settling = false;  // the last tick saw the file change under it
    Status m_failure;         // why Changed() last failed
};

}  // namespace velmora
