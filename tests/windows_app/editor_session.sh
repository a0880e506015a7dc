#!/usr/bin/env bash
# velmora.exe under Wine on the test display, driven with real X input as a
# user would, in an empty folder: the caption after each key, the pixels of
# the client area read off the screen, and the bytes of Splines.xml after S
# (CR LF at every line's end). The same scenarios and expected values as
# the Linux editor's window tests.
#
#   editor_session.sh WINE_RUN PREFIX VELMORA.exe WORK_DIR
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 WINE_RUN PREFIX VELMORA.exe WORK_DIR" >&2; exit 2; }
wine_run=$1 prefix=$2 editor=$3 work=$4
rm -rf "$work"
# A folder of its own each run: a session that ends unsaved leaves a recovery
# copy, which the next start in the same folder would offer.
folder="$work/Café notes $(date +%s%N)"
mkdir -p "$folder"
fail() { echo "editor_session: $*" >&2; exit 1; }

"$wine_run" "$prefix" "$editor" "Z:${folder//\//\\}" >"$work/editor.log" 2>&1 &
editor_pid=$!
trap 'kill "$editor_pid" 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --name '^Velmora \(Editing' | head -n 1)
# The client area: 480 x 360 at the bottom of the frame, with a border as
# wide at its sides and bottom.
eval "$(xdotool getwindowgeometry --shell "$window")"
border=$(((WIDTH - 480) / 2))
x=$((X + border)) y=$((Y + HEIGHT - 360 - border))
xdotool windowfocus --sync "$window"

caption() { xdotool getwindowname "$window"; }
# Waits up to 10 s for the caption.
expect_caption() {
  for _ in $(seq 100); do
    [ "$(caption)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "caption \"$(caption)\", expected \"$1\""
}
# The pixel at client X Y as "R G B".
pixel() {
  import -window root -crop "1x1+$((x + $1))+$((y + $2))" -depth 8 rgb:- | od -An -tu1 |
    xargs
}
expect_pixel() {
  for _ in $(seq 50); do
    [ "$(pixel "$1" "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  fail "pixel $1,$2 is $(pixel "$1" "$2"), expected $3"
}
key() { xdotool key --window "$window" "$@"; }

# Start: note 0, an empty Splines.xml, the origin star white, the target yellow.
expect_caption "Velmora (Editing note 0 spline 1 / 1)"
[ -f "$folder/Splines.xml" ] && [ ! -s "$folder/Splines.xml" ] || fail "no empty Splines.xml"
expect_pixel 424 228 "255 255 255"
expect_pixel 75 65 "255 255 0"
# The keypad's plus and minus switch notes; the main keyboard's do not.
key KP_Add
expect_caption "Velmora (Editing note 1 spline 1 / 1)"
key plus minus
sleep 0.3
expect_caption "Velmora (Editing note 1 spline 1 / 1)"
key KP_Subtract
expect_caption "Velmora (Editing note 0 spline 1 / 1)"
# S writes the whole file, with CR LF.
key s
for _ in $(seq 100); do
  [ -s "$folder/Splines.xml" ] && break
  sleep 0.1
done
[ "$(grep -c $'\r$' "$folder/Splines.xml")" = 26 ] || fail "not 26 lines ending in CR LF"
[ "$(tr -cd '\n' <"$folder/Splines.xml" | wc -c)" = 26 ] || fail "not 26 lines"
head -n 1 "$folder/Splines.xml" | grep -qx $'<?xml version="1.0" encoding="ISO-8859-1" ?>\r' ||
  fail "first line: $(head -n 1 "$folder/Splines.xml")"
grep -q '<ControlPoint PosX="405" PosY="75" />' "$folder/Splines.xml" || fail "no target point"
cp "$folder/Splines.xml" "$work/saved.xml"
# Enter appends a spline, Escape leaves the window open, Left goes back.
key Return
expect_caption "Velmora (Editing note 0 spline 2 / 2)"
key Escape Left
expect_caption "Velmora (Editing note 0 spline 1 / 2)"
# A click adds a point, drawn at once.
expect_pixel 203 300 "192 192 192"
xdotool mousemove "$((x + 200))" "$((y + 300))" click 1
expect_pixel 203 300 "255 0 0"
# Closing saves nothing.
xdotool windowfocus --sync "$window" key alt+F4
wait "$editor_pid" || fail "velmora.exe did not end cleanly"
trap - EXIT
cmp -s "$folder/Splines.xml" "$work/saved.xml" || fail "closing the window saved"
echo "editor_session: captions, pixels and the saved bytes as on Linux"
