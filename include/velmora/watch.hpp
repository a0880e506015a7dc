#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "velmora/export.h"

namespace velmora {

class FileWatch;

// Tells game code when the spline file has changed, as <velmora/watch.h>
// does: after the editor's save, after an in-place writer let go of the
// file, after a delete and re-creation, after a link to it was re-pointed or
// its target replaced, and after a folder on the way was replaced. The same
// bytes written again are no change.
class VELMORA_API SplineFileWatcher {
public:
    // Starts watching the file at `path`, which need not exist yet; the
    // folder that holds it must. What the file holds now is what the first
    // change is measured against. IsOpen() tells whether it started.
    explicit SplineFileWatcher(const std::string& path);
    ~SplineFileWatcher();
    SplineFileWatcher(SplineFileWatcher&& other) noexcept;
    SplineFileWatcher& operator=(SplineFileWatcher&& other) noexcept;

    bool IsOpen() const { return m_watch != nullptr; }
    // The errno of why the watch did not start, or of its last failure; 0.
    int Error() const { return m_error; }

#ifdef _WIN32
    // A waitable handle (a HANDLE) that is signalled when a change may have
    // happened (for the game's own wait); the watch owns it; null when not open.
    void* Handle() const;
#else
    // A non-blocking descriptor that becomes readable when a change may have
    // happened (for the game's own poll loop); -1 when not open.
    int Fd() const;
#endif

    // Never blocks. 1: the content differs from when it was last seen; 0:
    // not, or an in-place writer still holds the file open; -1: error
    // (Error() says which).
    int Changed();

    // Waits up to `timeout` for a change; true when one happened.
    bool Wait(std::chrono::milliseconds timeout);

private:
    std::unique_ptr<FileWatch> m_watch;
    int m_error = 0;
};

}  // namespace velmora
