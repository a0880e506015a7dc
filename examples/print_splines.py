#!/usr/bin/python3
"""Reads a Splines.xml as the Velmora editor does and prints every spline's
control points and curve samples as CSV, through the Python module:
  note,spline,kind,index,x,y      (kind: point or sample)

  print_splines.py [Splines.xml]
"""
import sys

import velmora


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "Splines.xml"
    file = velmora.read_spline_file(path)
    # Like the editor, go on with the default splines, after saying why.
    if file.status in ("unreadable", "partial"):
        print(f"{path}:{file.line}:{file.column}: {file.reason}", file=sys.stderr)
    elif file.status == "missing":
        print(f"{path}: no such file; showing the default splines", file=sys.stderr)
    out = sys.stdout
    out.write("note,spline,kind,index,x,y\n")
    for note, splines in enumerate(file.notes):
        for spline, points in enumerate(splines):
            for index, (x, y) in enumerate(points):
                out.write(f"{note},{spline},point,{index},{x},{y}\n")
            # The flat array of x, y values: a spline of 200,000 points has
            # four million samples, some 500 MB as tuples, 32 MB this way.
            samples = iter(velmora.sample_curve_array(points))
            for index, (x, y) in enumerate(zip(samples, samples)):
                out.write(f"{note},{spline},sample,{index},{x},{y}\n")


if __name__ == "__main__":
    main()
