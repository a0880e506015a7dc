"""The curve the Velmora editor draws and its Splines.xml, for Python.

A thin layer over the C interface of libvelmora-curve.so.1 and
libvelmora-splinefile.so.1, so Python gets the very samples and reading
rules the editor and every other consumer get.
"""

from ._curve import CurvePath, sample_curve, sample_curve_precise
from ._spline_file import SplineFile, parse_spline_file, read_spline_file

__all__ = [
    "CurvePath",
    "SplineFile",
    "parse_spline_file",
    "read_spline_file",
    "sample_curve",
    "sample_curve_precise",
]
