// The installed watcher: the file layer's FileWatch, and a wait on its
// descriptor.
#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#endif

#include <cerrno>
#include <chrono>

#include "io/disk/file_watch.h"
#include "velmora/watch.hpp"

namespace velmora {

SplineFileWatcher::SplineFileWatcher(const std::string& path) {
    Status why;
    m_watch = FileWatch::Open(path, SystemFileSystem(), &why);
    if (m_watch == nullptr)
        m_error = why.error != 0 ? why.error : EINVAL;
}

SplineFileWatcher::~SplineFileWatcher() = default;
SplineFileWatcher::SplineFileWatcher(SplineFileWatcher&& other) noexcept = default;
SplineFileWatcher& SplineFileWatcher::operator=(SplineFileWatcher&& other) noexcept = default;

#ifdef _WIN32
void* SplineFileWatcher::Handle() const {
    return m_watch != nullptr ? reinterpret_cast<void*>(m_watch->Ready().native) : nullptr;
}
#else
int SplineFileWatcher::Fd() const {
    return m_watch != nullptr ? static_cast<int>(m_watch->Ready().native) : -1;
}
#endif

int SplineFileWatcher::Changed() {
    if (m_watch == nullptr) {
        errno = m_error != 0 ? m_error : EBADF;
        return -1;
    }
    const int changed = m_watch->Changed();
    if (changed < 0) {
        m_error = m_watch->Failure().error != 0 ? m_watch->Failure().error : EIO;
        errno = m_error;
    }
    return changed;
}

// A wake-up of the descriptor may be no change (another file of the folder,
// the same bytes again, a writer still at work): wait on for the rest of the
// time.
bool SplineFileWatcher::Wait(std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + timeout;
    for (;;) {
        const int changed = Changed();
        if (changed != 0)
            return changed > 0;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0)
            return false;
#ifdef _WIN32
        if (WaitForSingleObject(Handle(), static_cast<DWORD>(left.count() + 1)) == WAIT_FAILED) {
            m_error = EIO;
            return false;
        }
#else
        pollfd ready{Fd(), POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count() + 1)) < 0 && errno != EINTR) {
            m_error = errno;
            return false;
        }
#endif
    }
}

}  // namespace velmora
