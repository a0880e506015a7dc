#!/usr/bin/env bash
# velmora-tool.exe under Wine against the Linux velmora-tool on the same
# files: check (with its exit code), export as JSON, CSV and SVG, curve and
# diff (text, JSON, as git's driver) give the same bytes; format from
# standard input, and the file merge writes, give the Linux bytes with CR LF
# line ends. Every verb's messages are the same text (CR LF on Windows) and
# its exit code the same. All Windows runs are one batch file, so Wine starts
# once. The first FILE is the base of the versions diff and merge compare.
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

# Versions of the first file for diff and merge: ours moves a point; theirs
# adds a point to the second spline and removes the third; "other" moves
# ours' point elsewhere (a conflict with ours).
base=${names[0]}
point='PosX="300" PosY="180"'
sed "s/$point/PosX=\"310\" PosY=\"185\"/" "$work/in/$base" >"$work/in/ours.xml"
awk '/<NewSpline>/ { spline++ }
  spline == 3 { if (/<\/NewSpline>/) spline++; next }
  { print }
  spline == 2 && /PosX="75"/ { print "        <ControlPoint PosX=\"40\" PosY=\"30\" />" }' \
  "$work/in/$base" >"$work/in/theirs.xml"
sed "s/$point/PosX=\"290\" PosY=\"170\"/" "$work/in/$base" >"$work/in/other.xml"

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
runs+=("points.curve curve points.txt"
  "same.diff diff $base $base"
  "ours.diff diff $base ours.xml"
  "theirs.diff diff --json $base theirs.xml"
  "markers.diff diff $base conflict_markers.xml"
  "git.diff diff --git Splines.xml $base 1111111 100644 theirs.xml 2222222 100644"
  "clean.merge merge $base ours.xml theirs.xml -o clean.merged.xml"
  "conflict.merge merge $base ours.xml other.xml -o conflict.merged.xml"
  "virtual.merge merge --virtual-base $base ours.xml other.xml -o virtual.merged.xml"
  "markers.merge merge $base conflict_markers.xml theirs.xml -o markers.merged.xml"
  "stdout.merge merge $base theirs.xml ours.xml -o -")

batch="$work/in/run.bat"
{
  echo "@echo off"
  for run in "${runs[@]}"; do
    read -r out args <<<"$run"
    echo "\"$exe\" $args >..\\windows\\$out 2>..\\windows\\$out.err"
    # Redirection first: "echo 1>FILE" would redirect handle 1.
    echo ">..\\windows\\$out.rc echo %ERRORLEVEL%"
  done
} | sed 's/$/\r/' >"$batch"
(cd "$work/in" && "$wine_run" "$prefix" cmd /c run.bat)
# The files merge wrote, out of the way of the Linux runs.
mv "$work/in/"*.merged.xml "$work/windows/"

(
  cd "$work/in"
  for run in "${runs[@]}"; do
    read -r out args <<<"$run"
    rc=0
    # eval, for the "<" of the format runs.
    eval "\"$linux_tool\" $args" >"../linux/$out" 2>"../linux/$out.err" || rc=$?
    echo "$rc" >"../linux/$out.rc"
  done
)
mv "$work/in/"*.merged.xml "$work/linux/"

# Splines.xml text is the Linux text with CR LF, other output the same bytes.
same() { # LINUX WINDOWS CRLF
  local expected=$1
  if [ "$3" = crlf ]; then
    sed 's/$/\r/' "$1" >"$1.crlf"
    expected=$1.crlf
  fi
  if ! cmp -s "$expected" "$2"; then
    echo "differs: $(basename "$2") (Linux $expected, Windows $2)" >&2
    failed=1
  fi
}

failed=0
for run in "${runs[@]}"; do
  read -r out verb args <<<"$run"
  text=bytes
  [ "$verb" = format ] || [[ "$args" = *"-o -" ]] && text=crlf
  same "$work/linux/$out" "$work/windows/$out" "$text"
  # Messages are text, with the system's line ends.
  same "$work/linux/$out.err" "$work/windows/$out.err" crlf
  windows_rc=$(tr -d '\r\n ' <"$work/windows/$out.rc")
  linux_rc=$(cat "$work/linux/$out.rc")
  if [ "$windows_rc" != "$linux_rc" ]; then
    echo "exit code differs: $out (Linux $linux_rc, Windows $windows_rc)" >&2
    failed=1
  fi
done
for written in "$work/linux/"*.merged.xml; do
  same "$written" "$work/windows/$(basename "$written")" crlf
done
if [ -e "$work/windows/markers.merged.xml" ]; then
  echo "merge wrote a file from one with conflict markers" >&2
  failed=1
fi
[ "$failed" = 0 ] && echo "${#runs[@]} runs equal"
exit "$failed"
