#ifndef VELMORA_WATCH_H
#define VELMORA_WATCH_H

/* Tells a running game when Splines.xml has changed, so that it can read
   the file again: after the editor's save (which renames a new file over
   the old one), after a program that rewrote the file in place no longer
   holds it open for writing, after a delete and re-creation, after a
   symbolic link to the file was re-pointed or its target replaced, and
   after a folder on the way to it was renamed, made anew or reached
   through a re-pointed link. The same bytes written again are no change;
   many saves in a burst may be one change, ending in the last. */

#include "velmora/export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct velmora_watch velmora_watch;

/* Starts watching the file at `path`, which need not exist yet; the folder
   that holds it must. What the file holds now is what the first
   velmora_watch_changed compares with. NULL on failure, errno set. */
VELMORA_API velmora_watch* velmora_watch_open(const char* path);

#ifdef _WIN32
/* A waitable handle (a HANDLE), the same for the life of the watch, that is
   signalled when a change may have happened: add it to the game's
   WaitForMultipleObjects or MsgWaitForMultipleObjects, then ask
   velmora_watch_changed. The watch owns it: do not close it. NULL for NULL. */
VELMORA_API void* velmora_watch_handle(const velmora_watch* watch);
#else
/* A non-blocking descriptor, the same for the life of the watch, that
   becomes readable when a change may have happened: add it to the game's
   poll(2) or event loop, then ask velmora_watch_changed. -1 for NULL. */
VELMORA_API int velmora_watch_fd(const velmora_watch* watch);
#endif

/* Never blocks. 1: the content differs from when it was last seen (by
   velmora_watch_open or the last call that gave 1), including that the file
   is gone or cannot be read; 0: not, or a writer that changed the file in
   place still holds it open; -1: error, errno set. */
VELMORA_API int velmora_watch_changed(velmora_watch* watch);

/* Stops watching and frees the watch; NULL is allowed. */
VELMORA_API void velmora_watch_close(velmora_watch* watch);

#ifdef __cplusplus
}
#endif

#endif
