#!/usr/bin/env bash
# velmora-tool.exe under Wine against the Linux velmora-tool on the same
# files: check (with its exit code), export as JSON, CSV and SVG, and curve
# give the same bytes; format from standard input gives the Linux bytes with
# CR LF line ends. Every verb's exit code is compared. All Windows runs are
# one batch file, so Wine starts once.
#
#   tool_against_linux.sh WINE_RUN PREFIX VELMORA-TOOL.exe LINUX_TOOL WORK_DIR FILE...
#
# Exits 77 (skipped) when there is no Linux tool to compare with.
set -euo pipefail
[ $# -ge 6 ] || {
  echo "usage: $0 WINE_RUN PREFIX VELMORA-TOOL.exe LINUX_TOOL WORK_DIR FILE..." >&2
  exit 2
}
wine_run=$1 prefix=$2 tool_exe=$3 linux_tool=$4 work=$5
shift 5
if [ ! -x "$linux_tool" ]; then
  echo "skipped: no Linux velmora-tool at $linux_tool (build build/ first," \
    "or set VELMORA_LINUX_TOOL)"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/in" "$work/linux" "$work/windows"
# The files under their own names in one folder, named relatively by both
# tools: check prints the name it was given.
names=()
for file in "$@"; do
  cp "$file" "$work/in/"
  names+=("$(basename "$file")")
done
# Control points for curve: the first spline's points of the example, with
# a blank line, a negative and a repeated point.
printf '10 300\n120 40\n\n200 200\n-5 180\n470 350\n470 350\n' >"$work/in/points.txt"

windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
exe=$(windows_path "$tool_exe")

# Each run as "OUTPUT_NAME VERB ARG...": stdout to OUTPUT_NAME, the exit code
# to OUTPUT_NAME.rc. A "<" argument redirects standard input from the next.
runs=()
for name in "${names[@]}"; do
  runs+=("$name.check check $name"
    "$name.json export $name --format json"
    "$name.csv export $name --format csv"
    "$name.svg export $name --format svg"
    "$name.format format < $name")
done
runs+=("points.curve curve points.txt")

batch="$work/in/run.bat"
{
  echo "@echo off"
  for run in "${runs[@]}"; do
    read -r out args <<<"$run"
    echo "\"$exe\" $args >..\\windows\\$out 2>nul"
    # Redirection first: "echo 1>FILE" would redirect handle 1.
    echo ">..\\windows\\$out.rc echo %ERRORLEVEL%"
  done
} | sed 's/$/\r/' >"$batch"
(cd "$work/in" && "$wine_run" "$prefix" cmd /c run.bat)

(
  cd "$work/in"
  for run in "${runs[@]}"; do
    read -r out args <<<"$run"
    rc=0
    # eval, for the "<" of the format runs.
    eval "\"$linux_tool\" $args" >"../linux/$out" 2>/dev/null || rc=$?
    echo "$rc" >"../linux/$out.rc"
  done
)

failed=0
for run in "${runs[@]}"; do
  read -r out verb _ <<<"$run"
  expected="$work/linux/$out"
  if [ "$verb" = format ]; then
    sed 's/$/\r/' "$work/linux/$out" >"$work/linux/$out.crlf"
    expected="$work/linux/$out.crlf"
  fi
  if ! cmp -s "$expected" "$work/windows/$out"; then
    echo "differs: $out (Linux $expected, Windows $work/windows/$out)" >&2
    failed=1
  fi
  windows_rc=$(tr -d '\r\n ' <"$work/windows/$out.rc")
  linux_rc=$(cat "$work/linux/$out.rc")
  if [ "$windows_rc" != "$linux_rc" ]; then
    echo "exit code differs: $out (Linux $linux_rc, Windows $windows_rc)" >&2
    failed=1
  fi
done
[ "$failed" = 0 ] && echo "${#runs[@]} runs equal"
exit "$failed"
