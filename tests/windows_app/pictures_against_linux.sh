#!/usr/bin/env bash
# velmora-tool.exe under Wine against the Linux velmora-tool on the same
# files: render (every spline of the example, and some corpus files), and
# diff --render and merge --render (a changed pair and a conflicting triple
# made from the example) write the same PNG bytes; what they print, their
# messages and exit codes are the same too (merge's file with CR LF line
# ends). All Windows runs are one batch file, so Wine starts once.
#
#   pictures_against_linux.sh WINE_RUN PREFIX VELMORA-TOOL.exe LINUX_TOOL WORK_DIR EXAMPLE FILE...
#
# Exits 77 (skipped) when there is no Linux tool to compare with.
set -euo pipefail
[ $# -ge 6 ] || {
  echo "usage: $0 WINE_RUN PREFIX VELMORA-TOOL.exe LINUX_TOOL WORK_DIR EXAMPLE FILE..." >&2
  exit 2
}
wine_run=$1 prefix=$2 tool_exe=$3 linux_tool=$4 work=$5 example=$6
shift 6
if [ ! -x "$linux_tool" ]; then
  echo "skipped: no Linux velmora-tool at $linux_tool (build build/ first," \
    "or set VELMORA_LINUX_TOOL)"
  exit 77
fi
linux_tool=$(realpath "$linux_tool")

rm -rf "$work"
mkdir -p "$work/in" "$work/linux" "$work/windows"
cp "$example" "$work/in/Splines.xml"
names=()
for file in "$@"; do
  cp "$file" "$work/in/"
  names+=("$(basename "$file")")
done
# A point moved and a spline removed; two sides that move one point apart.
cd "$work/in"
sed -e 's/PosX="300" PosY="180"/PosX="310" PosY="150"/' -e '17,19d' Splines.xml >new.xml
sed 's/PosX="220" PosY="260"/PosX="240" PosY="300"/' Splines.xml >ours.xml
sed 's/PosX="220" PosY="260"/PosX="200" PosY="200"/' Splines.xml >theirs.xml

windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
exe=$(windows_path "$tool_exe")

# Each run as "NAME VERB ARG...": standard output to NAME.out, messages to
# NAME.err, the exit code to NAME.rc; "@/" in an argument is the folder of
# that system's results.
runs=("example render Splines.xml --all @/example")
for name in "${names[@]}"; do
  runs+=("$name render $name --allow-partial -o @/$name.png")
done
runs+=("pair diff --render @/diff Splines.xml new.xml"
  "triple merge --render @/merge Splines.xml ours.xml theirs.xml -o -")

{
  echo "@echo off"
  for run in "${runs[@]}"; do
    read -r out args <<<"$run"
    echo "\"$exe\" ${args//@\//..\\windows\\} >..\\windows\\$out.out 2>..\\windows\\$out.err"
    # Redirection first: "echo 1>FILE" would redirect handle 1.
    echo ">..\\windows\\$out.rc echo %ERRORLEVEL%"
  done
  # cmd's own exit code would be the last run's.
  echo "exit /b 0"
} | sed 's/$/\r/' >run.bat
"$wine_run" "$prefix" cmd /c run.bat

for run in "${runs[@]}"; do
  read -r out args <<<"$run"
  rc=0
  # shellcheck disable=SC2086 # the arguments are words without spaces
  "$linux_tool" ${args//@\//..\/linux\/} >"../linux/$out.out" 2>"../linux/$out.err" || rc=$?
  echo "$rc" >"../linux/$out.rc"
  # The merged file comes with CR LF line ends on Windows.
  [ "${args%% *}" != merge ] || sed -i 's/$/\r/' "../linux/$out.out"
done
# Messages and exit codes are compared without the CRs of Windows' text mode.
find ../windows -maxdepth 1 \( -name '*.err' -o -name '*.rc' \) -exec sed -i 's/\r$//' {} +

cd "$work"
pictures=$(find linux -name '*.png' | wc -l)
if ! diff -r linux windows >/dev/null; then
  diff -rq linux windows >&2 || true
  exit 1
fi
echo "${#runs[@]} runs equal, $pictures pictures"
