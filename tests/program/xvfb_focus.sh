#!/bin/sh
# The window on an X display without a window manager, worked by keys the
# X server delivers to whichever window has its input focus (xdotool): the
# window has the focus when it opens, gets it back after each question box,
# and keeps it across the settings screen and back.
#   xvfb_focus.sh PROGRAM UNTIN WORK [DISPLAY_NUMBER]
# Without DISPLAY_NUMBER the X server picks a free display itself.
set -u
program=$1 untin=$2 work=$3 number=${4:-}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work" && cp -r "$untin" "$work/Untin"

xpid= ppid=
cleanup() {
  [ -n "$ppid" ] && kill "$ppid" 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
}
trap cleanup EXIT
if [ -n "$number" ]; then
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xpid=$!
  display=":$number"
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xpid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=":$(cat "$work/display")"
fi
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$program" --today 2026-12-09 --untin "$work/Untin" >"$work/program.log" 2>&1 &
ppid=$!

# Waits until the window with the input focus is called $1 (a sanitizer
# build starts slowly).
focused() {
  for _ in $(seq 300); do
    [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "FAIL: $2: the focus is on \"$(xdotool getwindowfocus getwindowname 2>/dev/null)\", not \"$1\""
  exit 1
}

focused "キップルン" "at start-up"
xdotool key F8
focused "終了 — キップルン" "the exit question"
xdotool key Escape
focused "キップルン" "after the exit question"
xdotool key F5
focused "設定画面 — キップルン" "on the settings screen"
xdotool key F5
focused "設定終了 — キップルン" "the save question"
xdotool key n
focused "キップルン" "back on the sales screen"
# The keys still reach the window: the exit question answered Yes ends it.
xdotool key F8
focused "終了 — キップルン" "the exit question again"
xdotool key y
for _ in $(seq 300); do kill -0 "$ppid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$ppid" 2>/dev/null; then
  echo "FAIL: the program did not end on Yes to the exit question"
  exit 1
fi
wait "$ppid"
status=$?
ppid=
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; cat "$work/program.log"; exit 1; }
echo "focus kept without a window manager"
