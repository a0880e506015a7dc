"""Where the editor's client area, origin and targets are, in client pixels."""

import ctypes

from . import _native

# The editor's client size: the file's points are in its pixels, x to the
# right and y downwards from the top-left corner.
EDITOR_CLIENT_WIDTH = 480
EDITOR_CLIENT_HEIGHT = 360


def _origin():
    x, y = ctypes.c_int32(), ctypes.c_int32()
    _native.velmora_editor_origin(ctypes.byref(x), ctypes.byref(y))
    return (x.value, y.value)


def _target(note):
    x, y = ctypes.c_int32(), ctypes.c_int32()
    _native.velmora_editor_target(note, ctypes.byref(x), ctypes.byref(y))
    return (x.value, y.value)


# The origin, where the editor draws its white star and every default spline
# starts, and each note's target, where its star is and its default spline
# ends: mapped by the library as the editor maps them.
EDITOR_ORIGIN = _origin()
EDITOR_TARGETS = tuple(_target(note) for note in range(4))
