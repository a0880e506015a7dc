"""The Python module gives the C interface's samples, path and file reading."""

import math
import os
import pathlib

import pytest

import velmora

EXAMPLE = pathlib.Path(__file__).resolve().parents[2] / "examples" / "Splines.xml"
SPLINES = [
    [(100, 100), (60, 20)],
    [(10, 10), (50, 90), (130, 90)],
    [(75, 249), (406, 18)],
    [(0, 0), (-40, 0)],
    [(5, 5), (5, 5), (40, 0)],
]


@pytest.mark.parametrize("points", SPLINES)
def test_precise_samples_truncate_to_the_drawn_ones_and_carry_the_path(points):
    drawn = velmora.sample_curve(points)
    precise = velmora.sample_curve_precise(points)
    assert all(type(v) is int for p in drawn for v in p)
    assert all(type(v) is float for p in precise for v in p)
    assert [(math.trunc(x), math.trunc(y)) for x, y in precise] == drawn
    assert precise[0] == points[0] and precise[-1] == points[-1]

    path = velmora.CurvePath(points)
    along = [0.0]
    for (ax, ay), (bx, by) in zip(precise, precise[1:]):
        along.append(along[-1] + math.sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay)))
    assert path.length == along[-1]
    for before in (-1.0, float("nan"), 0):
        assert path.at(before) == precise[0]
    assert path.at(path.length + 1) == precise[-1]
    (ax, ay), (bx, by) = precise[1], precise[2]
    x, y = path.at((along[1] + along[2]) / 2)
    assert x == pytest.approx((ax + bx) / 2) and y == pytest.approx((ay + by) / 2)


def test_worked_values_and_bad_points():
    assert velmora.sample_curve([(100, 100), (60, 20)])[:2] == [(100, 100), (97, 95)]
    assert velmora.sample_curve([(1, 1)]) == [] and velmora.CurvePath([(1, 1)]).length == 0.0
    with pytest.raises(TypeError):
        velmora.sample_curve([(1.5, 2), (3, 4)])
    with pytest.raises(ValueError):
        velmora.sample_curve([(2**31, 0), (3, 4)])


ONE_NOTE = b'<NewNoteSpline Index="1"><NewSpline><ControlPoint PosX="1" PosY="2" /></NewSpline></NewNoteSpline>\n'


@pytest.mark.parametrize(
    "data, status, line, column, note1",
    [
        (ONE_NOTE, "loaded", 0, 0, [[(1, 2)]]),
        (ONE_NOTE + b"<NewNoteSpline />", "partial", 2, 1, [[(1, 2)]]),
        (ONE_NOTE + b"<<<<<<< ours\n=======\n>>>>>>> theirs\n", "partial", 2, 1, [[(1, 2)]]),
        (b'<NewNoteSpline Index="0">\n<NewSpline', "unreadable", 2, 2, [[(424, 238), (184, 75)]]),
        (b" \n", "empty", 0, 0, [[(424, 238), (184, 75)]]),
    ],
    ids=["loaded", "partial", "conflict-markers", "unreadable", "empty"],
)
def test_file_from_memory_and_disk(tmp_path, data, status, line, column, note1):
    file = tmp_path / "Splines.xml"
    file.write_bytes(data)
    for got in (velmora.parse_spline_file(data), velmora.read_spline_file(file)):
        assert (got.status, got.line, got.column, got.notes[1]) == (status, line, column, note1)
        assert type(got.reason) is str and bool(got.reason) == (status in ("partial", "unreadable"))
        assert len(got.notes) == 4


def test_missing_example_and_bad_arguments(tmp_path):
    missing = velmora.read_spline_file(tmp_path / "none.xml")
    assert missing.status == "missing" and str(tmp_path / "none.xml") in missing.reason
    example = velmora.read_spline_file(str(EXAMPLE))
    assert example.status == "loaded"
    assert example == velmora.parse_spline_file(EXAMPLE.read_bytes())
    assert all(type(v) is int for note in example.notes for s in note for p in s for v in p)
    with pytest.raises(ValueError):
        velmora.read_spline_file("a\0b")
    # A str is read as its UTF-8 bytes; one that has none is refused.
    text = ONE_NOTE.decode() + "<!-- é -->"
    assert velmora.parse_spline_file(text) == velmora.parse_spline_file(text.encode("utf-8"))
    with pytest.raises(UnicodeEncodeError):
        velmora.parse_spline_file("\udc80")


def test_watcher_tells_a_save_once(tmp_path):
    file = tmp_path / "Splines.xml"
    file.write_bytes(ONE_NOTE)
    with velmora.SplineFileWatcher(file) as watcher:
        assert watcher.fileno() >= 0 and not watcher.changed()
        (tmp_path / "saved").write_bytes(ONE_NOTE + b"\n")
        os.replace(tmp_path / "saved", file)
        assert watcher.wait(5.0)
        assert not watcher.changed() and not watcher.wait(0.05)
    with pytest.raises(ValueError):
        watcher.changed()
    with pytest.raises(FileNotFoundError):
        velmora.SplineFileWatcher(tmp_path / "none" / "Splines.xml")
