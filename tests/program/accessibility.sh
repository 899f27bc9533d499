#!/bin/sh
# The accessibility test in an X server (1920 x 1080, no window manager) and
# a session bus of its own; the bus starts the AT-SPI registry when the
# program first asks for it.
# Usage: accessibility.sh PROGRAM UNTIN
set -eu
python=/usr/bin/python3
for tool in Xvfb dbus-run-session xdotool; do
  command -v "$tool" >/dev/null || { echo "accessibility.sh: $tool is missing (bash tools/setup.sh)" >&2; exit 1; }
done
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
  echo "accessibility.sh: python3-pyatspi is missing (bash tools/setup.sh installs it)" >&2
  exit 1
fi
work=$(mktemp -d)
xpid=
cleanup() {
  [ -z "$xpid" ] || kill "$xpid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$2" "$work/Untin"
# The server picks a free display itself: other tests run X servers meanwhile.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xpid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY XDG_RUNTIME_DIR="$work"
up=
for _ in $(seq 100); do
  if xdotool getmouselocation >/dev/null 2>&1; then up=1; break; fi
  sleep 0.1
done
if [ -z "$up" ] || ! kill -0 "$xpid" 2>/dev/null; then
  echo "FAIL: the X server on $DISPLAY does not answer"; cat "$work/xvfb.log"; exit 1
fi
timeout 170 dbus-run-session -- "$python" "$(dirname "$0")/accessibility.py" "$1" "$work/Untin"
