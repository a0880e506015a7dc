"""Splines.xml read as the editor reads it, from disk or from memory."""

import ctypes
import dataclasses
import os

from . import _native

# The C interface's status codes, in order.
_STATUSES = ("loaded", "partial", "missing", "empty", "unreadable")
_NOTES = 4


@dataclasses.dataclass(frozen=True)
class SplineFile:
    """What was read. `status` is "loaded", "partial" (read up to line:column;
    what follows was not read), "missing", "empty" (zero bytes or white space)
    or "unreadable". `reason` is the text for a log: what was wrong, why
    reading stopped, or which path has no file ("" when there is none);
    `line` and `column` are 1-based, 0 when unknown. `notes` holds the four
    notes as the editor shows them (default splines included), each a list of
    splines, each a list of (x, y) int tuples."""

    status: str
    reason: str
    line: int
    column: int
    notes: list


def _points(handle, note, spline):
    count = _native.velmora_file_points(handle, note, spline, None, 0)
    out = (ctypes.c_int32 * (2 * count))()
    _native.velmora_file_points(handle, note, spline, out, count)
    return [(out[2 * i], out[2 * i + 1]) for i in range(count)]


def _contents(handle):
    if not handle:
        raise MemoryError("the spline file could not be read: out of memory")
    try:
        notes = [
            [_points(handle, note, s) for s in range(_native.velmora_file_spline_count(handle, note))]
            for note in range(_NOTES)
        ]
        return SplineFile(
            status=_STATUSES[_native.velmora_file_status(handle)],
            reason=_native.velmora_file_reason(handle).decode("utf-8", "replace"),
            line=_native.velmora_file_line(handle),
            column=_native.velmora_file_column(handle),
            notes=notes,
        )
    finally:
        _native.velmora_file_free(handle)


def read_spline_file(path):
    """Reads the file at `path` (str, bytes or os.PathLike). Never raises for
    a bad or missing file; the status says what was found."""
    encoded = os.fsencode(path)
    if b"\0" in encoded:
        raise ValueError("embedded null byte in the path")
    return _contents(_native.velmora_file_read(encoded))


def parse_spline_file(data):
    """Reads a file's bytes (bytes, bytearray or another buffer) from memory,
    as read_spline_file reads them from disk. A str is read as its UTF-8
    encoding, as if saved to a file in UTF-8 (one holding a lone surrogate
    cannot be, and raises UnicodeEncodeError)."""
    if isinstance(data, str):
        data = data.encode("utf-8")
    data = memoryview(data).tobytes()
    return _contents(_native.velmora_file_parse(data, len(data)))
