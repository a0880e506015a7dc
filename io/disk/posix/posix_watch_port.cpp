#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include "io/disk/file_system.h"

namespace velmora {

namespace {

// In the file's folder: everything that can replace, change or remove a
// name, and the folder itself going. Opens and reads are left out: the
// watch's own reads would wake it. IN_EXCL_UNLINK: a writer still busy with
// a file that a save has already replaced does not matter.
constexpr uint32_t kEverythingEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE |
                                       IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                       IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
constexpr uint32_t kNamesEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                  IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kItselfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

uint32_t MaskOf(WatchScope scope) {
    switch (scope) {
    case WatchScope::kItself: return kItselfEvents;
    case WatchScope::kNames: return kNamesEvents;
    case WatchScope::kEverything: break;
    }
    return kEverythingEvents;
}

unsigned ChangesOf(uint32_t mask) {
    struct Pair {
        uint32_t mask;
        unsigned change;
    };
    static const Pair kPairs[] = {
        {IN_MODIFY, kContentWritten}, {IN_CLOSE_WRITE, kWriterClosed},
        {IN_ATTRIB, kRightsChanged},  {IN_CREATE, kNameMade},
        {IN_DELETE, kNameRemoved},    {IN_MOVED_FROM, kNameMovedAway},
        {IN_MOVED_TO, kNameMovedIn},  {IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED, kFolderGone},
        {IN_Q_OVERFLOW, kEventsLost},
    };
    unsigned changes = 0;
    for (const Pair& pair : kPairs) {
        if ((mask & pair.mask) != 0) {
            changes |= pair.change;
        }
    }
    return changes;
}

// An epoll descriptor the owner waits on, holding a timer and, where the
// system gives one, an inotify instance.
class PosixWatchPort : public WatchPort {
public:
    ~PosixWatchPort() override {
        for (const int fd : {m_epoll, m_inotify, m_timer}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    Status Start(bool folderEvents) {
        m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
        m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (m_epoll < 0 || m_timer < 0 || ::fcntl(m_epoll, F_SETFL, O_NONBLOCK) != 0 ||
            !Add(m_timer)) {
            return SystemFailure(errno);
        }
        if (!folderEvents) {
            return {};
        }
        m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_inotify < 0) {
            return {};  // no instance left, or none in this kernel: the timer does the work
        }
        return Add(m_inotify) ? Status{} : SystemFailure(errno);
    }

    Waitable Ready() const override { return Waitable{m_epoll}; }
    bool HasFolderEvents() const override { return m_inotify >= 0; }

    Status WatchFolder(const std::string& folder, WatchScope scope, bool widen, int* id) override {
        if (m_inotify < 0) {
            return SystemFailure(ENOSYS, StatusCode::kNotSupported);
        }
        const int wd = ::inotify_add_watch(m_inotify, folder.c_str(),
                                           MaskOf(scope) | (widen ? IN_MASK_ADD : 0));
        if (wd < 0) {
            return SystemFailure(errno);
        }
        *id = wd;
        return {};
    }

    void Unwatch(int id) override { ::inotify_rm_watch(m_inotify, id); }

    Status TakeEvents(std::vector<FolderEvent>* events) override {
        events->clear();
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t got = ::read(m_inotify, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno == EAGAIN || errno == EWOULDBLOCK ? Status{} : SystemFailure(errno);
            }
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
                inotify_event event{};
                std::memcpy(&event, buffer + at, sizeof event);
                const char* name = buffer + at + sizeof event;
                events->push_back({event.wd, ChangesOf(event.mask), event.len > 0 ? name : ""});
                at += static_cast<ssize_t>(sizeof event + event.len);
            }
        }
    }

    bool SetTimer(long milliseconds) override {
        itimerspec period{};
        period.it_interval.tv_sec = milliseconds / 1000;
        period.it_interval.tv_nsec = (milliseconds % 1000) * 1000000;
        period.it_value = period.it_interval;
        return ::timerfd_settime(m_timer, 0, &period, nullptr) == 0;
    }

    bool TakeTick() override {
        uint64_t ticks = 0;
        return ::read(m_timer, &ticks, sizeof ticks) == static_cast<ssize_t>(sizeof ticks);
    }

private:
    bool Add(int fd) {
        epoll_event event{};
        event.events = EPOLLIN;
        return ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) == 0;
    }

    int m_epoll = -1;
    int m_inotify = -1;
    int m_timer = -1;
};

}  // namespace

Status FileSystem::OpenWatch(bool folderEvents, std::unique_ptr<WatchPort>* port) const {
    auto posix = std::make_unique<PosixWatchPort>();
    if (Status started = posix->Start(folderEvents); !started.ok()) {
        return started;
    }
    *port = std::move(posix);
    return {};
}

}  // namespace velmora
