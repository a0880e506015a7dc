// <velmora/watch.h>: the C face of SplineFileWatcher. Nothing may throw
// across it; running out of memory is ENOMEM.
#include <cerrno>
#include <new>

#include "velmora/watch.h"
#include "velmora/watch.hpp"

struct velmora_watch {
    explicit velmora_watch(const char* path) : watcher(path) {}
    velmora::SplineFileWatcher watcher;
};

extern "C" {

velmora_watch* velmora_watch_open(const char* path) {
    if (path == nullptr || *path == '\0') {
        errno = EINVAL;
        return nullptr;
    }
    try {
        auto* watch = new velmora_watch(path);
        if (watch->watcher.IsOpen())
            return watch;
        const int error = watch->watcher.Error();
        delete watch;
        errno = error;
    } catch (...) {
        errno = ENOMEM;
    }
    return nullptr;
}

#ifdef _WIN32
void* velmora_watch_handle(const velmora_watch* watch) {
    return watch != nullptr ? watch->watcher.Handle() : nullptr;
}
#else
int velmora_watch_fd(const velmora_watch* watch) {
    return watch != nullptr ? watch->watcher.Fd() : -1;
}
#endif

int velmora_watch_changed(velmora_watch* watch) {
    if (watch == nullptr) {
        errno = EINVAL;
        return -1;
    }
    try {
        return watch->watcher.Changed();
    } catch (...) {
        errno = ENOMEM;
        return -1;
    }
}

void velmora_watch_close(velmora_watch* watch) { delete watch; }

}  // extern "C"
