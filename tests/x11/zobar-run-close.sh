#!/usr/bin/env bash
# `zobar run` in a live X window ends when the window is closed: once from the window manager's
# side (WM_DELETE_WINDOW) and once with the caption bar's close button clicked with the real
# pointer. Run by scripts/x11-test.sh against a private Xvfb server.
# usage: zobar-run-close.sh ZOBAR X11_SEND_CLOSE
set -u
zobar=$1 send_close=$2
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*" >&2
  [ -f "$work/events" ] && sed 's/^/  events: /' "$work/events" >&2
  exit 1
}

"$zobar" new "$work/closing.zobar" || fail "zobar new"
# A caption bar, so that there is a close button to click.
sed -i 's/^"properties": {$/"properties": {\n  "ShowCaptionBar": true,\n  "Caption": "Closing",/' \
  "$work/closing.zobar"
"$zobar" check "$work/closing.zobar" >/dev/null || fail "the design with a caption bar does not load"

# Starts the program and waits for its window; sets pid and window.
start() {
  "$zobar" run "$work/closing.zobar" --events >"$work/events" 2>"$work/stderr" &
  pid=$!
  window=$(timeout 10 xdotool search --sync --name '^closing\.zobar$' | head -n1)
  [ -n "$window" ] || fail "no window titled closing.zobar appeared"
}
# Waits up to 10 s for the program to end; its exit status must be 0.
ended() {
  for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      local status=$?
      pid=""
      [ "$status" -eq 0 ] || fail "$1: zobar run exited with $status: $(cat "$work/stderr")"
      return 0
    fi
    sleep 0.1
  done
  fail "$1: zobar run did not end"
}

start
"$send_close" "$window" || fail "cannot send WM_DELETE_WINDOW"
ended "WM_DELETE_WINDOW"

start
# The caption bar runs along the top; its close button is a square at its right end.
width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
xdotool mousemove --window "$window" $((width - 6)) 6 click 1
ended "the close button"
grep -qx CloseButtonClick "$work/events" || fail "no CloseButtonClick event was printed"
echo "zobar run ends on WM_DELETE_WINDOW and on its close button"
