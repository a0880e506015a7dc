#!/usr/bin/env bash
# The wheel in a fresh virtual environment of a Python other than Debian's
# (the first python3 on PATH that is not /usr/bin's, else Debian's own),
# without system site-packages or LD_LIBRARY_PATH: it installs with pip
# offline, imports from the environment, loads its own copies of the
# libraries, keeps to Python 3.8's syntax, and answers cases.txt as the C
# library does.
#
#   python_wheel.sh ANSWERS BUILD SOURCE VERSION
set -euo pipefail
answers="$1" build="$2" source="$3" version="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

wheel="$("$source/scripts/package-python" "$build" --out "$work/dist")"
python=/usr/bin/python3
for candidate in $(type -ap python3); do
  if [ "$(readlink -f "$candidate")" != "$(readlink -f /usr/bin/python3)" ] &&
     "$candidate" -c 'import sys, venv; sys.exit(sys.base_prefix == "/usr")' 2>/dev/null; then
    python="$candidate"
    break
  fi
done
echo "interpreter: $python ($("$python" --version 2>&1))"
"$python" -m venv "$work/venv"
unset LD_LIBRARY_PATH PYTHONPATH PYTHONHOME
cd "$work"
venv/bin/python -m pip install -q --no-index --no-deps --disable-pip-version-check "$wheel"

venv/bin/python - "$version" <<'PY'
import ast, pathlib, sys
import velmora
home = pathlib.Path(velmora.__file__).parent
assert str(home).startswith(sys.prefix), f"velmora imported from {home}, not the environment"
assert velmora.__version__ == sys.argv[1], velmora.__version__
loaded = [l.split()[-1] for l in open("/proc/self/maps") if "libvelmora" in l]
assert loaded and all(p.startswith(str(home)) for p in loaded), loaded
for source in home.glob("*.py"):
    ast.parse(source.read_text(encoding="utf-8"), str(source), feature_version=(3, 8))
PY

"$answers" "$source/tests/bindings/cases.txt" "$source/tests/data/corpus" >expected.txt
venv/bin/python "$source/tests/bindings/answers.py" "$source/tests/bindings/cases.txt" \
  "$source/tests/data/corpus" >actual.txt
if ! cmp -s expected.txt actual.txt; then
  echo "the Python module's answers differ from the C library's:" >&2
  diff expected.txt actual.txt | cut -c1-300 | head -20 >&2
  exit 1
fi
echo "$(wc -l <expected.txt) answers equal"
