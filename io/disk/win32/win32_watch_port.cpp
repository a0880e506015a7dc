#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "io/disk/file_system.h"
#include "io/disk/win32/win32_files.h"
#include "io/disk/win32/win32_status.h"
#include "platform/win32/win32_api.h"

namespace velmora {

namespace {

using win32::Win32Failure;

// Windows tells a watched folder nothing of its own rename: a folder on the
// way is seen to go by the folder above it, as one of its folder names.
DWORD FilterOf(WatchScope scope) {
    const DWORD names = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
    switch (scope) {
    case WatchScope::kItself: return FILE_NOTIFY_CHANGE_DIR_NAME;
    case WatchScope::kNames: return names;
    case WatchScope::kEverything: break;
    }
    return names | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
           FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY;
}

// Windows tells of no writer closing a file: a write counts as both, and
// the watch asks whether a writer still holds the file.
unsigned ChangesOf(DWORD action) {
    switch (action) {
    case FILE_ACTION_ADDED: return kNameMade;
    case FILE_ACTION_REMOVED: return kNameRemoved;
    case FILE_ACTION_MODIFIED: return kContentWritten | kWriterClosed;
    case FILE_ACTION_RENAMED_OLD_NAME: return kNameMovedAway;
    case FILE_ACTION_RENAMED_NEW_NAME: return kNameMovedIn;
    default: return kEventsLost;
    }
}

// One watched folder: its handle and the change request outstanding on it.
struct Folder {
    HANDLE handle = INVALID_HANDLE_VALUE;
    FileKey key;
    DWORD filter = 0;
    bool armed = false;
    OVERLAPPED overlapped{};
    alignas(DWORD) unsigned char changes[16384];
};

// One manual-reset event that every folder's request and the timer set:
// the owner waits on it, then takes what came.
class Win32WatchPort : public WatchPort {
public:
    ~Win32WatchPort() override {
        SetTimer(0);
        for (auto& entry : m_folders)
            Close(*entry.second);
        if (m_event != nullptr)
            CloseHandle(m_event);
    }

    Status Start(bool folderEvents) {
        m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (m_event == nullptr)
            return Win32Failure(GetLastError());
        m_folderEvents = folderEvents;
        return {};
    }

    Waitable Ready() const override { return Waitable{reinterpret_cast<std::intptr_t>(m_event)}; }
    bool HasFolderEvents() const override { return m_folderEvents; }

    Status WatchFolder(const std::string& folder, WatchScope scope, bool widen, int* id) override {
        if (!m_folderEvents)
            return Win32Failure(ERROR_NOT_SUPPORTED, StatusCode::kNotSupported);
        auto watched = std::make_unique<Folder>();
        uint32_t error = 0;
        watched->handle =
            win32::OpenShared(folder, FILE_LIST_DIRECTORY, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, error);
        if (watched->handle == INVALID_HANDLE_VALUE)
            return Win32Failure(error);
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(watched->handle, &info) == 0) {
            error = GetLastError();
            CloseHandle(watched->handle);
            return Win32Failure(error);
        }
        watched->key =
            FileKey{info.dwVolumeSerialNumber,
                    (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        watched->filter = FilterOf(scope);
        // The same folder under another name keeps its id.
        for (auto& entry : m_folders) {
            Folder& known = *entry.second;
            if (known.key != watched->key)
                continue;
            CloseHandle(watched->handle);
            const DWORD filter = widen ? known.filter | FilterOf(scope) : FilterOf(scope);
            if (filter != known.filter) {
                Cancel(known);
                known.filter = filter;
                Arm(known);
            }
            *id = entry.first;
            return {};
        }
        if (!Arm(*watched)) {
            error = GetLastError();
            CloseHandle(watched->handle);
            return Win32Failure(error);
        }
        *id = m_next++;
        m_folders[*id] = std::move(watched);
        return {};
    }

    void Unwatch(int id) override {
        const auto found = m_folders.find(id);
        if (found == m_folders.end())
            return;
        Close(*found->second);
        m_folders.erase(found);
    }

    // The event is reset before anything is looked at, so a change that
    // comes meanwhile sets it again.
    Status TakeEvents(std::vector<FolderEvent>* events) override {
        events->clear();
        ResetEvent(m_event);
        for (auto& entry : m_folders) {
            Folder& folder = *entry.second;
            if (!folder.armed || !HasOverlappedIoCompleted(&folder.overlapped))
                continue;
            DWORD size = 0;
            folder.armed = false;
            if (GetOverlappedResult(folder.handle, &folder.overlapped, &size, FALSE) == 0) {
                events->push_back({entry.first, kFolderGone, ""});
                continue;
            }
            if (size == 0)
                events->push_back({entry.first, kEventsLost, ""});
            else
                Read(entry.first, folder.changes, size, events);
            if (!Arm(folder))
                events->push_back({entry.first, kFolderGone, ""});
        }
        return {};
    }

    bool SetTimer(long milliseconds) override {
        if (m_timer != nullptr) {
            DeleteTimerQueueTimer(nullptr, m_timer, INVALID_HANDLE_VALUE);
            m_timer = nullptr;
        }
        if (milliseconds <= 0)
            return true;
        const DWORD period = static_cast<DWORD>(milliseconds);
        return CreateTimerQueueTimer(&m_timer, nullptr, &Tick, this, period, period,
                                     WT_EXECUTEINTIMERTHREAD) != 0;
    }

    bool TakeTick() override {
        ResetEvent(m_event);
        return m_ticked.exchange(false);
    }

private:
    static void CALLBACK Tick(void* self, BOOLEAN) {
        auto* port = static_cast<Win32WatchPort*>(self);
        port->m_ticked = true;
        SetEvent(port->m_event);
    }

    bool Arm(Folder& folder) {
        folder.overlapped = OVERLAPPED{};
        folder.overlapped.hEvent = m_event;
        folder.armed =
            ReadDirectoryChangesW(folder.handle, folder.changes, sizeof folder.changes, FALSE,
                                  folder.filter, nullptr, &folder.overlapped, nullptr) != 0;
        return folder.armed;
    }

    static void Cancel(Folder& folder) {
        if (!folder.armed)
            return;
        DWORD size = 0;
        CancelIoEx(folder.handle, &folder.overlapped);
        GetOverlappedResult(folder.handle, &folder.overlapped, &size, TRUE);
        folder.armed = false;
    }

    static void Close(Folder& folder) {
        Cancel(folder);
        CloseHandle(folder.handle);
    }

    static void Read(int id, const unsigned char* changes, DWORD size,
                     std::vector<FolderEvent>* events) {
        for (DWORD at = 0; at + sizeof(FILE_NOTIFY_INFORMATION) <= size;) {
            FILE_NOTIFY_INFORMATION info{};
            std::memcpy(&info, changes + at, sizeof info);
            const DWORD nameAt = at + offsetof(FILE_NOTIFY_INFORMATION, FileName);
            const DWORD nameSize = info.FileNameLength;
            if (nameAt + nameSize > size)
                break;
            std::wstring name(nameSize / sizeof(wchar_t), L'\0');
            std::memcpy(name.data(), changes + nameAt, name.size() * sizeof(wchar_t));
            events->push_back({id, ChangesOf(info.Action), win32::Utf8FromWide(name)});
            if (info.NextEntryOffset == 0)
                break;
            at += info.NextEntryOffset;
        }
    }

    HANDLE m_event = nullptr;
    HANDLE m_timer = nullptr;
    std::atomic<bool> m_ticked{false};
    bool m_folderEvents = false;
    std::map<int, std::unique_ptr<Folder>> m_folders;
    int m_next = 1;
};

}  // namespace

Status FileSystem::OpenWatch(bool folderEvents, std::unique_ptr<WatchPort>* port) const {
    auto win32 = std::make_unique<Win32WatchPort>();
    if (Status started = win32->Start(folderEvents); !started.ok())
        return started;
    *port = std::move(win32);
    return {};
}

}  // namespace velmora
