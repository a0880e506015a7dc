#include "io/disk/win32/folder_watch.h"

#include "io/disk/win32/win32_files.h"

namespace velmora::win32 {

namespace {

constexpr DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                        FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                        FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_CREATION;
constexpr DWORD kPollMs = 100;

}  // namespace

FolderWatch::FolderWatch(const std::string& folder) {
    const std::wstring name = ExtendedPath(folder);
    m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (name.empty() || m_event == nullptr) {
        m_error = name.empty() ? ERROR_INVALID_NAME : static_cast<uint32_t>(GetLastError());
        if (m_event != nullptr)
            CloseHandle(m_event);
        m_event = nullptr;
        return;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        m_error = attributes == INVALID_FILE_ATTRIBUTES ? static_cast<uint32_t>(GetLastError())
                                                        : ERROR_DIRECTORY;
        CloseHandle(m_event);
        m_event = nullptr;
        return;
    }
    m_folder = CreateFileW(
        name.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    m_overlapped.hEvent = m_event;
    if (m_folder == INVALID_HANDLE_VALUE || !Arm())
        StartPolling();
}

FolderWatch::~FolderWatch() {
    if (m_timer != nullptr)
        DeleteTimerQueueTimer(nullptr, m_timer, INVALID_HANDLE_VALUE);
    if (m_folder != INVALID_HANDLE_VALUE) {
        CancelIoEx(m_folder, &m_overlapped);
        DWORD ignored = 0;
        GetOverlappedResult(m_folder, &m_overlapped, &ignored, TRUE);
        CloseHandle(m_folder);
    }
    if (m_event != nullptr)
        CloseHandle(m_event);
}

bool FolderWatch::Arm() {
    ResetEvent(m_event);
    if (ReadDirectoryChangesW(m_folder, m_changes, sizeof m_changes, FALSE, kWhat, nullptr,
                              &m_overlapped, nullptr) != 0)
        return true;
    m_error = static_cast<uint32_t>(GetLastError());
    return false;
}

// The event keeps its identity; only what sets it changes.
void FolderWatch::StartPolling() {
    if (m_folder != INVALID_HANDLE_VALUE) {
        CloseHandle(m_folder);
        m_folder = INVALID_HANDLE_VALUE;
    }
    const auto tick = [](void* event, BOOLEAN) { SetEvent(static_cast<HANDLE>(event)); };
    if (CreateTimerQueueTimer(&m_timer, nullptr, tick, m_event, kPollMs, kPollMs,
                              WT_EXECUTEDEFAULT) == 0) {
        m_error = static_cast<uint32_t>(GetLastError());
        m_timer = nullptr;
        SetEvent(m_event);  // the caller looks at least once
    }
}

bool FolderWatch::Take() {
    if (m_event == nullptr || WaitForSingleObject(m_event, 0) != WAIT_OBJECT_0)
        return false;
    if (m_folder == INVALID_HANDLE_VALUE) {
        ResetEvent(m_event);
        return true;
    }
    // What changed is not needed: the caller compares the file itself. An
    // overflow of the buffer is a change too.
    DWORD ignored = 0;
    GetOverlappedResult(m_folder, &m_overlapped, &ignored, FALSE);
    if (!Arm())
        StartPolling();  // the folder stopped answering (gone, a share lost)
    return true;
}

}  // namespace velmora::win32
