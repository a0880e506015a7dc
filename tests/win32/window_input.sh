#!/usr/bin/env bash
# Drives the probe dialog's real window under Wine with real X input (xdotool
# on the test display, through the X server's test extension, to the window
# given the focus): keys as their virtual-key codes, a click and a drag with their
# client positions, Alt+F4 to close. Checks the client area's size and the
# caption, and that the screen shows exactly the scene the dialog drew.
#
#   window_input.sh WINE_RUN PREFIX PROBE.exe OUT_DIR
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 WINE_RUN PREFIX PROBE.exe OUT_DIR" >&2; exit 2; }
wine_run=$1 prefix=$2 probe=$3 out=$4
mkdir -p "$out"
log=$out/probe.log
rm -f "$log" "$out/shown.ppm" "$out/screen.png"

fail() { echo "window_input: $*" >&2; [ -f "$log" ] && tr -d '\r' <"$log" >&2; exit 1; }
# Waits up to 20 s for a line of the log that matches the pattern.
wait_for() {
  for _ in $(seq 200); do
    tr -d '\r' <"$log" 2>/dev/null | grep -qE "$1" && return 0
    sleep 0.1
  done
  fail "no line matching '$1'"
}

"$wine_run" "$prefix" "$probe" "Z:$out/shown.ppm" >"$log" 2>&1 &
probe_pid=$!
wait_for '^caption '
read -r _ x y width height < <(tr -d '\r' <"$log" | grep '^client ')
[ "$width x $height" = "480 x 360" ] || fail "client area $width x $height"
grep -q '^caption Velmora (Editing note 0 spline 1 / 1)' <(tr -d '\r' <"$log") || fail "caption"

window=$(xdotool search --sync --onlyvisible --name '^Velmora \(Editing' | head -n 1)
xdotool windowfocus --sync "$window"
keys_seen() { tr -d '\r' <"$log" | grep -c '^pre 0100 ' || true; }
# Wine makes the window the one that takes keys a moment after it has the
# X focus; until then F2, which does nothing, is sent again.
for _ in $(seq 100); do
  xdotool key F2
  sleep 0.2
  [ "$(keys_seen)" -gt 0 ] && break
done
# Enter, Escape, Left and Right stop in PreTranslateMessage; the others reach
# the message map; the keypad keys are told apart from the main keyboard's.
# One key at a time, each once it has arrived, however busy the machine.
for key in Return Escape Left Right BackSpace s KP_Add KP_Subtract KP_Divide equal minus; do
  seen=$(keys_seen)
  xdotool key "$key"
  for _ in $(seq 200); do
    [ "$(keys_seen)" -gt "$seen" ] && break
    sleep 0.1
  done
done
wait_for '^map 0100 BD '
xdotool mousemove "$((x + 100))" "$((y + 120))" click 1
xdotool mousemove "$((x + 200))" "$((y + 200))" mousedown 1 \
  mousemove "$((x + 250))" "$((y + 220))" mouseup 1
wait_for '^map 0202 00 250,220'
sleep 0.5  # the last redraw reaches the display
import -window root -crop "480x360+$x+$y" "$out/screen.png"
xdotool key alt+F4
wait "$probe_pid" || fail "the probe did not end with IDCANCEL"

expected='pre 0100 0D|pre 0100 1B|pre 0100 25|pre 0100 27|pre 0100 08|map 0100 08|pre 0100 53|map 0100 53|pre 0100 6B|map 0100 6B|pre 0100 6D|map 0100 6D|pre 0100 6F|map 0100 6F|pre 0100 BB|map 0100 BB|pre 0100 BD|map 0100 BD'
keys=$(tr -d '\r' <"$log" | grep -E '^(pre|map) 0100 ' | grep -v ' 71 ' | cut -d' ' -f1-3 |
  paste -sd'|')
[ "$keys" = "$expected" ] || fail "keys: $keys"
tr -d '\r' <"$log" | grep -q '^map 0201 01 100,120' || fail "click"
tr -d '\r' <"$log" | grep -q '^map 0201 01 200,200' || fail "drag start"
convert "$out/screen.png" rgb:"$out/screen.rgb"
convert "$out/shown.ppm" rgb:"$out/shown.rgb"
cmp -s "$out/screen.rgb" "$out/shown.rgb" || fail "the screen differs from the scene drawn"
echo "window_input: keys, mouse, size, caption and pixels as drawn"
