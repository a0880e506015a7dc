"""The curve the Velmora editor draws and its Splines.xml, for Python.

A thin layer over the C interface of libvelmora-curve and
libvelmora-splinefile, so Python gets the very samples and reading rules the
editor and every other consumer get. A wheel carries its own copies of the
two libraries; otherwise the system's are loaded.
"""

from ._curve import (
    CurvePath,
    sample_curve,
    sample_curve_array,
    sample_curve_precise,
    sample_curve_precise_array,
)
from ._geometry import EDITOR_CLIENT_HEIGHT, EDITOR_CLIENT_WIDTH, EDITOR_ORIGIN, EDITOR_TARGETS
from ._spline_file import SplineFile, parse_spline_file, read_spline_file
from ._version import __version__
from ._watch import SplineFileWatcher

__all__ = [
    "EDITOR_CLIENT_HEIGHT",
    "EDITOR_CLIENT_WIDTH",
    "EDITOR_ORIGIN",
    "EDITOR_TARGETS",
    "CurvePath",
    "SplineFile",
    "SplineFileWatcher",
    "__version__",
    "parse_spline_file",
    "read_spline_file",
    "sample_curve",
    "sample_curve_array",
    "sample_curve_precise",
    "sample_curve_precise_array",
]
