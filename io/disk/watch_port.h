#pragma once

#include <string>
#include <vector>

#include "io/disk/waitable.h"
#include "io/status.h"

namespace velmora {

// What a watched folder is watched for.
enum class WatchScope {
    kItself,      // only the folder going (removed or renamed)
    kNames,       // besides, names made, removed or renamed in it
    kEverything,  // besides, files in it written, closed after writing or changed in rights
};

// What happened in a watched folder, as flags.
enum FolderChange : unsigned {
    kContentWritten = 1u << 0,
    kWriterClosed = 1u << 1,
    kRightsChanged = 1u << 2,
    kNameMade = 1u << 3,
    kNameRemoved = 1u << 4,
    kNameMovedAway = 1u << 5,
    kNameMovedIn = 1u << 6,
    kFolderGone = 1u << 7,  // the folder went, or is watched no more
    kEventsLost = 1u << 8,  // too many at once: anything may have changed
};

// One event: in the folder `watch` (the id WatchFolder gave), the name
// `name` ("" for the folder itself) saw `changes`.
struct FolderEvent {
    int watch = -1;
    unsigned changes = 0;
    std::string name;
};

// What a file watch waits on: one waitable that becomes ready when the timer
// ticks or a watched folder sees a change.
class WatchPort {
public:
    virtual ~WatchPort() = default;

    virtual Waitable Ready() const = 0;
    // Whether folders can be watched, or only the timer ticks.
    virtual bool HasFolderEvents() const = 0;
    // Watches `folder` for `scope`; `*id` names it in events. A folder
    // watched already under another path (a bind mount) gives the same id;
    // `widen` then adds `scope` to what it is watched for.
    virtual Status WatchFolder(const std::string& folder, WatchScope scope, bool widen,
                               int* id) = 0;
    virtual void Unwatch(int id) = 0;
    // The events since the last call, never waiting; fails where the events
    // cannot be read any more.
    virtual Status TakeEvents(std::vector<FolderEvent>* events) = 0;
    // Starts the timer, ticking every `milliseconds`, or stops it with 0;
    // false where that failed.
    virtual bool SetTimer(long milliseconds) = 0;
    // Whether the timer ticked since the last call.
    virtual bool TakeTick() = 0;
};

}  // namespace velmora
