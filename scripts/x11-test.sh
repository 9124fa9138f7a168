#!/usr/bin/env bash
# Runs a program against a private Xvfb server: starts the server on a display number it picks
# itself, runs the program with DISPLAY set and the X11 display chosen, and stops the server.
# A missing Xvfb or xdotool is a failure, not a skip: scripts/install-deps.sh installs both.
set -u
if [ $# -lt 1 ]; then
  echo "usage: $0 program [arguments...]" >&2
  exit 2
fi
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "x11-test: $tool is not installed (run scripts/install-deps.sh)" >&2
    exit 1
  fi
done
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Xvfb writes its display number once it accepts connections.
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "x11-test: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -s "$work/display" ]; then
  echo "x11-test: Xvfb did not become ready" >&2
  exit 1
fi
DISPLAY=":$(head -n1 "$work/display")" ZO_DISPLAY=x11 "$@"
