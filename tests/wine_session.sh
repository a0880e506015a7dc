#!/usr/bin/env bash
# The session the Windows tests run in, as a CTest fixture: a virtual display
# for their windows and one Wine server for all of them, so that each test
# program does not start and stop its own.
#
#   wine_session.sh start DISPLAY PREFIX   starts Xvfb on DISPLAY (unless one
#                                          runs there), makes the prefix and
#                                          starts its server
#   wine_session.sh stop DISPLAY PREFIX    ends the prefix's Wine processes and
#                                          the Xvfb that start started
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 start|stop DISPLAY PREFIX" >&2; exit 2; }
action=$1 display=$2
prefix=$(realpath -m "$3")
root="$(cd "$(dirname "$0")/.." && pwd)"
number=${display#:}
pid_file=$prefix.xvfb-$number.pid
export WINEPREFIX=$prefix

# Starts the display and the server. Everything it starts outlives the
# fixture, so none of it may hold CTest's output open: its output goes to a
# log beside the prefix, shown when the start fails.
start() {
  if ! { [ -e "/tmp/.X11-unix/X$number" ] &&
         DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1; }; then
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
    echo $! >"$pid_file"
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$number" ] && break
      sleep 0.1
    done
    [ -e "/tmp/.X11-unix/X$number" ] || { echo "Xvfb did not come up on $display"; return 1; }
  fi
  mkdir -p "$prefix"
  # Wine's own processes started here (the desktop among them) outlive the
  # start and must know the display the tests' windows go to.
  export DISPLAY=$display
  /usr/lib/wine/wineserver -p
  "$root/scripts/wine-run" "$prefix" --prepare
  # The first program also starts Wine's services, which keep its output;
  # started here, they keep the log's.
  "$root/scripts/wine-run" "$prefix" cmd /c exit 0
}

case $action in
  start)
    mkdir -p "$(dirname "$prefix")"
    log=$prefix.session.log
    if ! (start) </dev/null >"$log" 2>&1; then
      cat "$log" >&2
      exit 1
    fi
    ;;
  stop)
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    if [ -f "$pid_file" ]; then
      kill "$(cat "$pid_file")" 2>/dev/null || true
      rm -f "$pid_file"
    fi
    ;;
  *) echo "usage: $0 start|stop DISPLAY PREFIX" >&2; exit 2 ;;
esac
