"""The Python module's answers to cases.txt, printed as answers.cpp prints
the C library's: the two texts must be the same.

  python answers.py CASES CORPUS
"""

import math
import os
import struct
import sys

import velmora

STATUS = {"loaded": 0, "partial": 1, "missing": 2, "empty": 3, "unreadable": 4}


def bits(value):
    return "nan" if math.isnan(value) else struct.pack(">d", value).hex()


def distances(length):
    fixed = [-1.0, -math.inf, math.nan, 0.0]
    return fixed + [length * f for f in (0.001, 0.25, 0.5, 0.75, 1.0)] + [length + 1.0, math.inf]


def curve(out, label, points):
    samples = velmora.sample_curve(points)
    precise = velmora.sample_curve_precise(points)
    # The flat forms hold the same values.
    if list(velmora.sample_curve_array(points)) != [v for p in samples for v in p]:
        out.append(f"{label} sample_curve_array differs")
    if list(velmora.sample_curve_precise_array(points)) != [v for p in precise for v in p]:
        out.append(f"{label} sample_curve_precise_array differs")
    out.append(f"{label} samples {len(samples)}:" + "".join(f" {x} {y}" for x, y in samples))
    out.append(f"{label} precise {len(precise)}:" + "".join(f" {bits(x)} {bits(y)}" for x, y in precise))
    path = velmora.CurvePath(points)
    out.append(f"{label} length {bits(path.length)}")
    for distance in distances(path.length):
        x, y = path.at(distance)
        dx, dy = path.direction_at(distance)
        out.append(f"{label} at {bits(distance)}: {bits(x)} {bits(y)} direction {bits(dx)} {bits(dy)}")


def spline_file(out, label, file):
    out.append(f"{label} status {STATUS[file.status]} line {file.line} column {file.column}")
    out.append(f"{label} reason {file.reason}")
    for note, splines in enumerate(file.notes):
        for s, points in enumerate(splines):
            out.append(f"{label} note {note} spline {s}:" + "".join(f" {x} {y}" for x, y in points))


def main():
    cases_path, corpus = sys.argv[1], sys.argv[2]
    out = []
    number = 0
    with open(cases_path, encoding="utf-8") as cases:
        for line in cases:
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            number += 1
            kind = words[0]
            if kind == "curve":
                values = [int(w) for w in words[1:]]
                curve(out, f"curve {number}", list(zip(values[0::2], values[1::2])))
            elif kind in ("file", "missing"):
                path = os.path.join(corpus, words[1])
                data = b""
                if os.path.exists(path):
                    with open(path, "rb") as f:
                        data = f.read()
                spline_file(out, f"read {words[1]}", velmora.read_spline_file(path))
                spline_file(out, f"parse {words[1]}", velmora.parse_spline_file(data))
            elif kind == "geometry":
                targets = "".join(f" {x} {y}" for x, y in velmora.EDITOR_TARGETS)
                out.append(
                    f"geometry client {velmora.EDITOR_CLIENT_WIDTH} {velmora.EDITOR_CLIENT_HEIGHT} "
                    f"origin {velmora.EDITOR_ORIGIN[0]} {velmora.EDITOR_ORIGIN[1]} targets{targets}"
                )
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
