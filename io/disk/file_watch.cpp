#include "io/disk/file_watch.h"

#include <cerrno>
#include <tuple>
#include <utility>
#include <vector>

#include "io/disk/link_target.h"
#include "io/disk/path_parts.h"

namespace velmora {

namespace {

// In the file's folder: everything that can replace, change or remove a
// name. In a folder that holds a link on the way, or where the way breaks
// off: what replaces, makes or removes a name. Any other folder on the way:
// only its own going, so that a busy folder such as /tmp does not wake the
// watch.
WatchScope ScopeFor(const PathPlaces::Place& place) {
    switch (place.kind) {
    case PathPlaces::Kind::kFolder: return WatchScope::kItself;
    case PathPlaces::Kind::kLink:
    case PathPlaces::Kind::kMissing: return WatchScope::kNames;
    case PathPlaces::Kind::kFile: break;
    }
    return WatchScope::kEverything;
}

WatchScope Wider(WatchScope a, WatchScope b) { return a > b ? a : b; }

constexpr long kPollMilliseconds = 100;

Status Absolute(const std::string& path, const FileSystem& fs, std::string* absolute) {
    if (!RootOf(path).empty()) {
        *absolute = path;
        return {};
    }
    std::string cwd;
    if (Status found = fs.CurrentFolder(&cwd); !found.ok())
        return found;
    *absolute = cwd + "/" + path;
    return {};
}

}  // namespace

bool FileWatch::Look::operator==(const Look& other) const {
    return std::tie(failure, key.volume, key.file, size, modified, changed) ==
           std::tie(other.failure, other.key.volume, other.key.file, other.size, other.modified,
                    other.changed);
}

std::unique_ptr<FileWatch> FileWatch::Open(const std::string& path, const FileSystem& fs,
                                           Status* why) {
    Status status;
    std::unique_ptr<FileWatch> watch;
    std::string absolute;
    if (path.empty()) {
        status = SystemFailure(EINVAL);
    } else if (status = Absolute(path, fs, &absolute); status.ok()) {
        watch.reset(new FileWatch(absolute, fs));
        status = watch->Start();
        if (!status.ok())
            watch.reset();
    }
    if (why != nullptr)
        *why = status;
    return watch;
}

FileWatch::FileWatch(std::string path, const FileSystem& fs) : m_path(std::move(path)), m_fs(fs) {}

FileWatch::~FileWatch() = default;

Status FileWatch::Start() {
    FileInfo folder;
    if (Status found = m_fs.Inspect(FolderOf(m_path), Links::kFollow, &folder); !found.ok())
        return found;
    if (folder.kind != FileKind::kFolder)
        return SystemFailure(ENOTDIR);
    if (Status opened = m_fs.OpenWatch(true, &m_port); !opened.ok())
        return opened;
    Rewatch();
    if (!m_timerArmed && !m_port->HasFolderEvents())
        return SystemFailure(EIO);
    m_seen = ReadNow();
    m_look = LookNow();
    return {};
}

// Follows the path again, links and all, and watches each folder on the
// way, dropping folders no longer on it. A folder that cannot be watched
// (the system has no watch left) is made up for by the timer. When the
// folders change, the file they lead to may be another one.
void FileWatch::Rewatch() {
    const PathPlaces path = PlacesOnPath(m_path, m_fs);
    m_folderFound = path.fileFolderFound;
    std::map<std::string, std::pair<WatchScope, std::set<std::string>>> wanted;
    for (const PathPlaces::Place& place : path.places) {
        auto [entry, added] =
            wanted.try_emplace(place.folder, ScopeFor(place), std::set<std::string>());
        auto& [scope, names] = entry->second;
        scope = added ? scope : Wider(scope, ScopeFor(place));
        // A folder's name too: where a folder's own going cannot be
        // watched, the folder above tells it by that name.
        names.insert(place.name);
    }
    const bool events = m_port->HasFolderEvents();
    bool poll = !events;
    std::map<int, Folder> folders;
    for (const auto& [folder, want] : wanted) {
        if (!events)
            break;
        int id = -1;
        bool watched = m_port->WatchFolder(folder, want.first, false, &id).ok();
        // Two paths to one folder (a bind mount) share one watch, which
        // must see what both need.
        if (watched && folders.count(id) != 0)
            watched = m_port->WatchFolder(folder, want.first, true, &id).ok();
        if (!watched) {
            poll = true;
            continue;
        }
        Folder& entry = folders[id];
        if (entry.path.empty())
            entry.path = folder;
        entry.names.insert(want.second.begin(), want.second.end());
    }
    for (const auto& [id, folder] : m_folders) {
        if (folders.count(id) == 0)
            m_port->Unwatch(id);
    }
    if (folders != m_folders)
        m_pending = true;
    m_folders = std::move(folders);
    m_polling = poll;
    ArmTimer(m_polling || m_waitingForWriter);
}

void FileWatch::ArmTimer(bool on) {
    if (on == m_timerArmed)
        return;
    if (m_port->SetTimer(on ? kPollMilliseconds : 0))
        m_timerArmed = on;
}

int FileWatch::Changed() {
    const bool tick = m_port->TakeTick();
    if (m_port->HasFolderEvents() && !ReadEvents())
        return -1;
    if (tick)
        Tick();
    if (m_rewatch) {
        m_rewatch = false;
        Rewatch();
    }
    if (!m_pending)
        return 0;
    // A writer that still holds the file may not be done; the timer looks
    // again until it lets go, also where its close cannot be seen (it
    // opened the file through another name).
    const int held = WriterHoldsFile();
    if (held == 1 || (held < 0 && m_writerOpen)) {
        m_waitingForWriter = true;
        ArmTimer(true);
        return 0;
    }
    m_writerOpen = false;
    m_waitingForWriter = false;
    ArmTimer(m_polling);
    m_pending = false;
    Seen now = ReadNow();
    if (now == m_seen)
        return 0;
    m_seen = std::move(now);
    return 1;
}

bool FileWatch::ReadEvents() {
    std::vector<FolderEvent> events;
    m_failure = m_port->TakeEvents(&events);
    for (const FolderEvent& event : events)
        Take(event);
    return m_failure.ok();
}

// One event: what it says of the names that lead to the file.
void FileWatch::Take(const FolderEvent& event) {
    if ((event.changes & kEventsLost) != 0) {
        m_pending = m_rewatch = true;
        m_writerOpen = false;
        return;
    }
    const auto folder = m_folders.find(event.watch);
    if (folder == m_folders.end())
        return;
    if ((event.changes & kFolderGone) != 0) {
        m_pending = m_rewatch = true;
        m_writerOpen = false;
        return;
    }
    if (folder->second.names.count(event.name) == 0)
        return;
    m_pending = true;
    if ((event.changes & kContentWritten) != 0)
        m_writerOpen = true;
    if ((event.changes & kWriterClosed) != 0)
        m_writerOpen = false;
    if ((event.changes & (kNameMovedAway | kNameMovedIn | kNameRemoved)) != 0) {
        m_rewatch = true;
        m_writerOpen = false;
    }
    if ((event.changes & kNameMade) != 0) {
        // A file made by creating it is still open in its maker, who closes
        // it once written; a new link or hard link has no writer.
        m_rewatch = true;
        FileInfo info;
        const std::string path = folder->second.path + "/" + event.name;
        m_writerOpen = m_fs.Inspect(path, Links::kNoFollow, &info).ok() &&
                       info.kind == FileKind::kRegular && info.links == 1;
    }
}
// The timer: the links are followed again, and a file whose information changed is
// read once it has stayed the same for a whole tick, so that a writer is not
// caught half way. When only looking can tell, a change seen meanwhile
// waits for the next quiet tick.
void FileWatch::Tick() {
    m_rewatch = true;
    const Look look = LookNow();
    if (!(look == m_look)) {
        m_look = look;
        m_settling = true;
        if (m_polling)
            m_pending = false;
    } else if (m_settling) {
        m_settling = false;
        m_pending = true;
    }
}

// Asked of the file itself, wherever it was opened from. Where the system
// cannot tell (no leases there, a file of another owner), the events of
// the file's folder are all there is to go by.
int FileWatch::WriterHoldsFile() const {
    FileHandle file;
    if (!m_fs.OpenForReading(m_path, Links::kFollow, &file).ok())
        return -1;
    FileInfo info;
    bool held = false;
    const bool told = m_fs.InspectOpen(file, &info).ok() && info.kind == FileKind::kRegular &&
                      m_fs.HeldForWriting(file, &held).ok();
    m_fs.Close(file);
    return told ? (held ? 1 : 0) : -1;
}

FileWatch::Seen FileWatch::ReadNow() const {
    ReadOutcome read = ReadWholeFile(m_path, m_fs);
    return Seen{read.found, std::move(read.bytes)};
}

FileWatch::Look FileWatch::LookNow() const {
    FileInfo info;
    Look look;
    if (const Status found = m_fs.Inspect(m_path, Links::kFollow, &info); !found.ok()) {
        look.failure = found.code;
        return look;
    }
    look.key = info.key;
    look.size = info.size;
    look.modified = info.modified;
    look.changed = info.changed;
    return look;
}

}  // namespace velmora
