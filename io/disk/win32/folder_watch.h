#pragma once

#include <string>

#include "platform/win32/win32_api.h"

namespace velmora::win32 {

// Tells when anything in one folder may have changed, as a waitable handle
// (for WaitForMultipleObjects): ReadDirectoryChangesW on the folder, or,
// where the folder refuses that (some network shares) or stops answering, a
// timer that signals every 100 ms so that the caller looks for itself.
class FolderWatch {
public:
    // Watches the folder `folder` (UTF-8). Open() tells whether it started;
    // Error() why not.
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Open() const { return m_event != nullptr; }
    uint32_t Error() const { return m_error; }
    bool Polling() const { return m_timer != nullptr; }

    // Signalled when a change may have happened; the same for the watch's life.
    HANDLE Handle() const { return m_event; }

    // Never blocks: true when the handle was signalled since the last call
    // (a change may have happened), and it is reset and watching again.
    bool Take();

private:
    bool Arm();
    void StartPolling();

    HANDLE m_folder = INVALID_HANDLE_VALUE;
    HANDLE m_event = nullptr;  // manual reset
    HANDLE m_timer = nullptr;  // a timer-queue timer that sets m_event
    OVERLAPPED m_overlapped{};
    alignas(DWORD) unsigned char m_changes[16384];
    uint32_t m_error = 0;
};

}  // namespace velmora::win32
