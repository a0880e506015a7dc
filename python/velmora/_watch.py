"""Telling a running game when Splines.xml has changed."""

import ctypes
import io
import os
import select
import sys
import time

from . import _native


def _error(path=None):
    number = ctypes.get_errno()
    return OSError(number, os.strerror(number), path)


class SplineFileWatcher:
    """Watches the file at `path` (str, bytes or os.PathLike), which need not
    exist yet; the folder that holds it must (else OSError). A change is the
    editor's save, an in-place writer that has closed the file, a delete and
    re-creation, or a link to the file re-pointed; the same bytes written
    again are none. Use it as a context manager, or call close()."""

    def __init__(self, path):
        encoded = os.fsencode(path)
        if b"\0" in encoded:
            raise ValueError("embedded null byte in the path")
        self._watch = _native.velmora_watch_open(encoded)
        if not self._watch:
            raise _error(path)

    def fileno(self):
        """A non-blocking descriptor that becomes readable when a change may
        have happened, for selectors or an event loop; then ask changed().
        Not on Windows: see handle()."""
        self._check_open()
        if sys.platform == "win32":
            raise io.UnsupportedOperation("on Windows the watch has a handle(), not a descriptor")
        return _native.velmora_watch_fd(self._watch)

    def handle(self):
        """On Windows: a waitable handle (an int) that is signalled when a
        change may have happened, for WaitForMultipleObjects; then ask
        changed(). The watcher owns it."""
        self._check_open()
        if sys.platform != "win32":
            raise io.UnsupportedOperation("only on Windows; elsewhere see fileno()")
        return _native.velmora_watch_handle(self._watch)

    def changed(self):
        """Never blocks. True when the content differs from when it was last
        seen (including that the file is gone); False when not, or while an
        in-place writer still holds it open. OSError on a failure."""
        self._check_open()
        result = _native.velmora_watch_changed(self._watch)
        if result < 0:
            raise _error()
        return result == 1

    def wait(self, timeout):
        """Waits up to `timeout` seconds for a change; True when one came. A
        wake-up that was no change waits on for the rest of the time."""
        end = time.monotonic() + timeout
        while True:
            if self.changed():
                return True
            left = end - time.monotonic()
            if left <= 0:
                return False
            if sys.platform == "win32":
                milliseconds = min(int(left * 1000) + 1, 0xFFFFFFFE)
                ctypes.windll.kernel32.WaitForSingleObject(
                    ctypes.c_void_p(self.handle()), ctypes.c_uint32(milliseconds)
                )
            else:
                select.select([self.fileno()], [], [], left)

    def close(self):
        """Stops watching; closing twice is allowed."""
        if getattr(self, "_watch", None):
            _native.velmora_watch_close(self._watch)
            self._watch = None

    def _check_open(self):
        if not self._watch:
            raise ValueError("the watcher is closed")

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def __del__(self):
        self.close()
