"""The C interface of the two shared libraries: the copies beside the
module (a wheel carries them) first, else the system's by soname."""

import ctypes
import os
import sys

_HERE = os.path.dirname(os.path.abspath(__file__))
if sys.platform == "win32":
    # A DLL's own dependencies are looked for beside it too.
    if hasattr(os, "add_dll_directory"):
        os.add_dll_directory(_HERE)
    _CURVE_NAMES = ("velmora-curve.dll", "libvelmora-curve.dll", "libvelmora-curve-1.dll")
    _SPLINEFILE_NAMES = (
        "velmora-splinefile.dll",
        "libvelmora-splinefile.dll",
        "libvelmora-splinefile-1.dll",
    )
else:
    _CURVE_NAMES = ("libvelmora-curve.so.1",)
    _SPLINEFILE_NAMES = ("libvelmora-splinefile.so.1",)


def _load(names):
    # A copy beside the module is the one it was packaged with; otherwise the
    # system's search path (or LD_LIBRARY_PATH) decides, never a path fixed
    # when the module was built.
    for name in names:
        beside = os.path.join(_HERE, name)
        if os.path.isfile(beside):
            return ctypes.CDLL(beside, use_errno=True)
    # On Windows, Python 3.8 and later leave PATH out of a bare name's search
    # unless asked: winmode 0 is the system's own search order.
    search = {"winmode": 0} if sys.platform == "win32" else {}
    errors = []
    for name in names:
        try:
            return ctypes.CDLL(name, use_errno=True, **search)
        except OSError as error:
            errors.append(str(error))
    raise ImportError(
        f"velmora needs {names[0]} (the wheel's copy, the libvelmora packages, or "
        f"LD_LIBRARY_PATH pointing at a build's libraries): {'; '.join(errors)}"
    )


def _declare(library, name, restype, *argtypes):
    function = getattr(library, name)
    function.restype = restype
    function.argtypes = argtypes
    return function


_c_int32_p = ctypes.POINTER(ctypes.c_int32)
_c_double_p = ctypes.POINTER(ctypes.c_double)

curve = _load(_CURVE_NAMES)
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
velmora_path_direction = _declare(
    curve, "velmora_path_direction", None, ctypes.c_void_p, ctypes.c_double, _c_double_p, _c_double_p
)
velmora_path_free = _declare(curve, "velmora_path_free", None, ctypes.c_void_p)

splinefile = _load(_SPLINEFILE_NAMES)
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
velmora_editor_origin = _declare(splinefile, "velmora_editor_origin", None, _c_int32_p, _c_int32_p)
velmora_editor_target = _declare(
    splinefile, "velmora_editor_target", ctypes.c_int, ctypes.c_int, _c_int32_p, _c_int32_p
)
velmora_watch_open = _declare(splinefile, "velmora_watch_open", ctypes.c_void_p, ctypes.c_char_p)
if sys.platform == "win32":
    velmora_watch_handle = _declare(
        splinefile, "velmora_watch_handle", ctypes.c_void_p, ctypes.c_void_p
    )
else:
    velmora_watch_fd = _declare(splinefile, "velmora_watch_fd", ctypes.c_int, ctypes.c_void_p)
velmora_watch_changed = _declare(splinefile, "velmora_watch_changed", ctypes.c_int, ctypes.c_void_p)
velmora_watch_close = _declare(splinefile, "velmora_watch_close", None, ctypes.c_void_p)
