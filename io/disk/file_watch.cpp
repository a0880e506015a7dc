#include "io/disk/file_watch.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "io/disk/link_target.h"
#include "io/disk/path_parts.h"

namespace velmora {

namespace {

// In the file's folder: everything that can replace, change or remove a
// name, and the folder itself going. Opens and reads are left out: the
// watch's own reads would wake it. IN_EXCL_UNLINK: a writer still busy with
// a file that a save has already replaced does not matter.
constexpr uint32_t kFolderEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                   IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                   IN_ONLYDIR | IN_EXCL_UNLINK;
// In a folder that holds a link on the way, or where the way breaks off:
// what replaces, makes or removes a name.
constexpr uint32_t kWayEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// Any other folder on the way: only its own going (renamed or removed), so
// that a busy folder such as /tmp does not wake the watch.
constexpr uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// The events the folder of `place` must be watched for.
uint32_t EventsFor(const PathPlaces::Place& place) {
    switch (place.kind) {
    case PathPlaces::Kind::kFolder: return kSelfEvents;
    case PathPlaces::Kind::kLink:
    case PathPlaces::Kind::kMissing: return kWayEvents;
    case PathPlaces::Kind::kFile: break;
    }
    return kFolderEvents;
}

constexpr long kPollMilliseconds = 100;

std::string Absolute(const std::string& path) {
    if (path.front() == '/')
        return path;
    std::vector<char> cwd(PATH_MAX);
    if (::getcwd(cwd.data(), cwd.size()) == nullptr)
        return std::string();
    return std::string(cwd.data()) + "/" + path;
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool FileWatch::Look::operator==(const Look& other) const {
    return std::tie(error, device, inode, size) ==
               std::tie(other.error, other.device, other.inode, other.size) &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

std::unique_ptr<FileWatch> FileWatch::Open(const std::string& path, const FileSystem& fs) {
    if (path.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    const std::string absolute = Absolute(path);
    if (absolute.empty())
        return nullptr;
    std::unique_ptr<FileWatch> watch(new FileWatch(absolute, fs));
    if (!watch->Start()) {
        const int error = errno;
        watch.reset();
        errno = error;
    }
    return watch;
}

FileWatch::FileWatch(std::string path, const FileSystem& fs) : m_path(std::move(path)), m_fs(fs) {}

FileWatch::~FileWatch() {
    for (const int fd : {m_epoll, m_inotify, m_timer}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool FileWatch::Start() {
    struct stat folder {};
    if (m_fs.Stat(FolderOf(m_path).c_str(), &folder) != 0)
        return false;
    if (!S_ISDIR(folder.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_epoll < 0 || m_timer < 0 || ::fcntl(m_epoll, F_SETFL, O_NONBLOCK) != 0)
        return false;
    epoll_event timer{};
    timer.events = EPOLLIN;
    if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_timer, &timer) != 0)
        return false;
    // Without inotify (no instance left, or none in this kernel) the timer
    // does its work.
    m_inotify = m_fs.InotifyInit(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        epoll_event events{};
        events.events = EPOLLIN;
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_inotify, &events) != 0)
            return false;
    }
    Rewatch();
    if (!m_timerArmed && m_inotify < 0)
        return false;
    m_seen = ReadNow();
    m_look = LookNow();
    return true;
}

// Follows the path again, links and all, and watches each folder on the
// way, dropping folders no longer on it. A folder that cannot be watched
// (the system has no watch left) is made up for by the timer. When the
// folders change, the file they lead to may be another one.
void FileWatch::Rewatch() {
    const PathPlaces path = PlacesOnPath(m_path, m_fs);
    m_folderFound = path.fileFolderFound;
    std::map<std::string, std::pair<uint32_t, std::set<std::string>>> wanted;
    for (const PathPlaces::Place& place : path.places) {
        auto& [mask, names] = wanted[place.folder];
        mask |= EventsFor(place);
        if (place.kind != PathPlaces::Kind::kFolder)
            names.insert(place.name);
    }
    bool poll = m_inotify < 0;
    std::map<int, Folder> folders;
    for (const auto& [folder, want] : wanted) {
        if (m_inotify < 0)
            break;
        int wd = m_fs.InotifyAddWatch(m_inotify, folder.c_str(), want.first);
        // Two paths to one folder (a bind mount) share one watch, which
        // must see what both need.
        if (wd >= 0 && folders.count(wd) != 0)
            wd = m_fs.InotifyAddWatch(m_inotify, folder.c_str(), want.first | IN_MASK_ADD);
        if (wd < 0) {
            poll = true;
            continue;
        }
        Folder& entry = folders[wd];
        if (entry.path.empty())
            entry.path = folder;
        entry.names.insert(want.second.begin(), want.second.end());
    }
    for (const auto& [wd, folder] : m_folders) {
        if (folders.count(wd) == 0)
            ::inotify_rm_watch(m_inotify, wd);
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
    itimerspec period{};
    if (on) {
        period.it_interval.tv_nsec = kPollMilliseconds * 1000000;
        period.it_value = period.it_interval;
    }
    if (::timerfd_settime(m_timer, 0, &period, nullptr) == 0)
        m_timerArmed = on;
}

int FileWatch::Changed() {
    uint64_t ticks = 0;
    const bool tick = ::read(m_timer, &ticks, sizeof ticks) == static_cast<ssize_t>(sizeof ticks);
    if (m_inotify >= 0 && !ReadEvents())
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
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(m_inotify, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            Take(event.wd, event.mask, event.len > 0 ? name : "");
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
}

// One inotify event: what it says of the names that lead to the file.
void FileWatch::Take(int wd, uint32_t mask, const char* name) {
    if ((mask & IN_Q_OVERFLOW) != 0) {
        m_pending = m_rewatch = true;
        m_writerOpen = false;
        return;
    }
    const auto folder = m_folders.find(wd);
    if (folder == m_folders.end())
        return;
    if ((mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
        m_pending = m_rewatch = true;
        m_writerOpen = false;
        return;
    }
    if (folder->second.names.count(name) == 0)
        return;
    m_pending = true;
    if ((mask & IN_MODIFY) != 0)
        m_writerOpen = true;
    if ((mask & IN_CLOSE_WRITE) != 0)
        m_writerOpen = false;
    if ((mask & (IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE)) != 0) {
        m_rewatch = true;
        m_writerOpen = false;
    }
    if ((mask & IN_CREATE) != 0) {
        // A file made by open(2) is still open in its maker, who closes it
        // once written; a new link or hard link has no writer.
        m_rewatch = true;
        struct stat info {};
        const std::string path = folder->second.path + "/" + name;
        m_writerOpen =
            m_fs.Lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
    }
}

// The timer: the links are followed again, and a file whose stat changed is
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
    const int fd = m_fs.Open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    const int held =
        m_fs.Fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? m_fs.HeldForWriting(fd) : -1;
    m_fs.Close(fd);
    return held;
}

FileWatch::Seen FileWatch::ReadNow() const {
    ReadOutcome read = ReadWholeFile(m_path, m_fs);
    return Seen{read.status, std::move(read.bytes)};
}

FileWatch::Look FileWatch::LookNow() const {
    struct stat info {};
    Look look;
    if (m_fs.Stat(m_path.c_str(), &info) != 0) {
        look.error = errno;
        return look;
    }
    look.device = info.st_dev;
    look.inode = info.st_ino;
    look.size = info.st_size;
    look.modified = info.st_mtim;
    look.changed = info.st_ctim;
    return look;
}

}  // namespace velmora
