"""The drawn curve's samples, whole or precise, and a path along it."""

import array
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


def _flat_samples(function, typecode, element, points):
    """The samples as one flat array, x0, y0, x1, y1, ..., written by the C
    library straight into the array's memory."""
    points_xy, count = _point_array(points)
    total = function(points_xy, count, None, 0)
    out = array.array(typecode, [0]) * (2 * total)
    if total:
        assert out.itemsize == ctypes.sizeof(element)
        buffer = (element * (2 * total)).from_buffer(out)
        written = function(points_xy, count, buffer, total)
        del buffer
        if written != total:
            raise MemoryError("the curve could not be sampled")
    return out


def _pairs(flat):
    values = iter(flat)
    return list(zip(values, values))


def sample_curve(points):
    """The samples the editor draws through `points`, as (x, y) ints; the
    first and last are the end points. Empty for fewer than two points."""
    return _pairs(sample_curve_array(points))


def sample_curve_precise(points):
    """The same samples before truncation to whole pixels, as (x, y) floats:
    truncating each toward zero gives sample_curve's sample."""
    return _pairs(sample_curve_precise_array(points))


def sample_curve_array(points):
    """sample_curve's samples as one flat array('i') of x0, y0, x1, y1, ...:
    8 bytes a sample instead of a tuple's 100 or so, for large splines."""
    return _flat_samples(_native.velmora_curve, "i", ctypes.c_int32, points)


def sample_curve_precise_array(points):
    """sample_curve_precise's samples as one flat array('d') of x0, y0, ..."""
    return _flat_samples(_native.velmora_curve_precise, "d", ctypes.c_double, points)


class CurvePath:
    """The drawn curve as a path to move along at constant speed: straight
    pieces between consecutive precise samples. Fewer than two points make
    an empty path (length 0.0, every point (0.0, 0.0)). On a path of length
    0 (all its points the same) every point is its start and the direction
    is (0.0, 0.0): take care before dividing by the length."""

    def __init__(self, points):
        points_xy, count = _point_array(points)
        self._path = None
        if count >= 2:
            self._path = _native.velmora_path_new(points_xy, count)
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

    def _ask(self, function, distance):
        x, y = ctypes.c_double(), ctypes.c_double()
        function(self._path, float(distance), ctypes.byref(x), ctypes.byref(y))
        return (x.value, y.value)

    def at(self, distance):
        """The point `distance` along the path, as (x, y) floats; below 0 (or
        NaN) gives the start, beyond the length the end."""
        return self._ask(_native.velmora_path_at, distance)

    def direction_at(self, distance):
        """The unit direction of travel `distance` along the path, as (dx, dy)
        floats (for turning a sprite: math.atan2(dy, dx)): that of the piece
        the point lies on, the piece after it at a joint, the first piece
        below 0 (or NaN), the last at and beyond the length."""
        return self._ask(_native.velmora_path_direction, distance)
