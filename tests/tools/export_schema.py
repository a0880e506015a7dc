"""Every JSON export validates against velmora-splines.schema.json, and its
precise samples and lengths are the C library's doubles, read back exactly.

  python3 export_schema.py TOOL SCHEMA FILE...
"""

import json
import math
import subprocess
import sys

import jsonschema

import velmora


def export(tool, path, *options):
    result = subprocess.run(
        [tool, "export", "--allow-partial", *options, path],
        stdout=subprocess.PIPE,
        stderr=subprocess.DEVNULL,
        check=False,
    )
    if result.returncode != 0:
        raise AssertionError(f"export {' '.join(options)} {path} exited {result.returncode}")
    return json.loads(result.stdout)


def pixel(value):
    """A precise coordinate as the drawn curve has it: truncated, clamped to 32 bits."""
    return max(-(2**31), min(2**31 - 1, math.trunc(value)))


def check_precise(document, path):
    for note in document["notes"]:
        for spline in note["splines"]:
            points = [tuple(p) for p in spline["points"]]
            precise = [tuple(p) for p in spline["precise"]]
            assert precise == velmora.sample_curve_precise(points), f"{path}: precise samples"
            assert [[pixel(x), pixel(y)] for x, y in precise] == spline["curve"]
            assert spline["length"] == velmora.CurvePath(points).length, f"{path}: length"


def main():
    tool, schema_path, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft7Validator.check_schema(schema)
    validator = jsonschema.Draft7Validator(schema)
    exports = 0
    for path in paths:
        for options in ((), ("--precise",), ("--note", "2", "--precise")):
            document = export(tool, path, *options)
            errors = sorted(validator.iter_errors(document), key=str)
            assert not errors, f"export {' '.join(options)} {path}: {errors[0].message}"
            if options:
                check_precise(document, path)
            # The stars are where the library says the editor draws them.
            assert document["origin"] == list(velmora.EDITOR_ORIGIN)
            assert document["targets"] == [list(t) for t in velmora.EDITOR_TARGETS]
            exports += 1
    print(f"{exports} exports valid")


if __name__ == "__main__":
    main()
