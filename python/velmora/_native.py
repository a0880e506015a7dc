"""The C interface of the two shared libraries, loaded by soname."""

import ctypes

_CURVE_SONAME = "libvelmora-curve.so.1"
_SPLINEFILE_SONAME = "libvelmora-splinefile.so.1"


def _load(soname):
    # By soname only: the system's search path or LD_LIBRARY_PATH decides
    # which build is used, never a path fixed when the module was built.
    try:
        return ctypes.CDLL(soname)
    except OSError as error:
        raise ImportError(
            f"velmora needs {soname} (the libvelmora packages, or LD_LIBRARY_PATH "
            f"pointing at a build's libraries): {error}"
        ) from error


def _declare(library, name, restype, *argtypes):
    function = getattr(library, name)
    function.restype = restype
    function.argtypes = argtypes
    return function


_c_int32_p = ctypes.POINTER(ctypes.c_int32)
_c_double_p = ctypes.POINTER(ctypes.c_double)

curve = _load(_CURVE_SONAME)
velmora_curve = _declare(
    curve, "velmora_curve", ctypes.c_size_t, _c_int32_p, ctypes.c_size_t, _c_int32_p, ctypes.c_size_t
)
velmora_curve_precise = _declare(
    curve,
    "velmora_curve_precise",
    ctypes.c_size_t,
    _c_int32_p,
    ctypes.c_size_t,
    _c_double_p,
    ctypes.c_size_t,
)
velmora_path_new = _declare(curve, "velmora_path_new", ctypes.c_void_p, _c_int32_p, ctypes.c_size_t)
velmora_path_length = _declare(curve, "velmora_path_length", ctypes.c_double, ctypes.c_void_p)
velmora_path_at = _declare(
    curve, "velmora_path_at", None, ctypes.c_void_p, ctypes.c_double, _c_double_p, _c_double_p
)
velmora_path_free = _declare(curve, "velmora_path_free", None, ctypes.c_void_p)

splinefile = _load(_SPLINEFILE_SONAME)
velmora_file_read = _declare(splinefile, "velmora_file_read", ctypes.c_void_p, ctypes.c_char_p)
velmora_file_parse = _declare(
    splinefile, "velmora_file_parse", ctypes.c_void_p, ctypes.c_char_p, ctypes.c_size_t
)
velmora_file_status = _declare(splinefile, "velmora_file_status", ctypes.c_int, ctypes.c_void_p)
velmora_file_reason = _declare(splinefile, "velmora_file_reason", ctypes.c_char_p, ctypes.c_void_p)
velmora_file_line = _declare(splinefile, "velmora_file_line", ctypes.c_int, ctypes.c_void_p)
velmora_file_column = _declare(splinefile, "velmora_file_column", ctypes.c_int, ctypes.c_void_p)
velmora_file_spline_count = _declare(
    splinefile, "velmora_file_spline_count", ctypes.c_size_t, ctypes.c_void_p, ctypes.c_int
)
velmora_file_points = _declare(
    splinefile,
    "velmora_file_points",
    ctypes.c_size_t,
    ctypes.c_void_p,
    ctypes.c_int,
    ctypes.c_size_t,
    _c_int32_p,
    ctypes.c_size_t,
)
velmora_file_free = _declare(splinefile, "velmora_file_free", None, ctypes.c_void_p)
