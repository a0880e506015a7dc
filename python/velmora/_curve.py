"""The drawn curve's samples, whole or precise, and a path along it."""

import ctypes
import operator

from . import _native

_INT32_MIN = -(2**31)
_INT32_MAX = 2**31 - 1


def _point_array(points):
    """The control points as the C interface takes them: x,y int32 pairs."""
    flat = []
    for point in points:
        x, y = point
        for value in (operator.index(x), operator.index(y)):
            if not _INT32_MIN <= value <= _INT32_MAX:
                raise ValueError(f"coordinate {value} is outside the 32-bit range")
            flat.append(value)
    return (ctypes.c_int32 * len(flat))(*flat), len(flat) // 2


def _samples(function, element, points):
    array, count = _point_array(points)
    total = function(array, count, None, 0)
    out = (element * (2 * total))()
    if total and function(array, count, out, total) != total:
        raise MemoryError("the curve could not be sampled")
    return [(out[2 * i], out[2 * i + 1]) for i in range(total)]


def sample_curve(points):
    """The samples the editor draws through `points`, as (x, y) ints; the
    first and last are the end points. Empty for fewer than two points."""
    return _samples(_native.velmora_curve, ctypes.c_int32, points)


def sample_curve_precise(points):
    """The same samples before truncation to whole pixels, as (x, y) floats:
    truncating each toward zero gives sample_curve's sample."""
    return _samples(_native.velmora_curve_precise, ctypes.c_double, points)


class CurvePath:
    """The drawn curve as a path to move along at constant speed: straight
    pieces between consecutive precise samples. Fewer than two points make
    an empty path (length 0.0, every point (0.0, 0.0))."""

    def __init__(self, points):
        array, count = _point_array(points)
        self._path = None
        if count >= 2:
            self._path = _native.velmora_path_new(array, count)
            if not self._path:
                raise MemoryError("the path could not be built")

    def __del__(self):
        if getattr(self, "_path", None):
            _native.velmora_path_free(self._path)
            self._path = None

    @property
    def length(self):
        """The sum of the pieces' lengths."""
        return _native.velmora_path_length(self._path)

    def at(self, distance):
        """The point `distance` along the path, as (x, y) floats; below 0 (or
        NaN) gives the start, beyond the length the end."""
        distance = float(distance)
        x, y = ctypes.c_double(), ctypes.c_double()
        _native.velmora_path_at(self._path, distance, ctypes.byref(x), ctypes.byref(y))
        return (x.value, y.value)


