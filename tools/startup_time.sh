#!/usr/bin/env bash
# Process start to window shown, and peak memory, of the program against a
# bare Qt Widgets window (bench/bare_window: one label in a window of the
# sales screen's size). Both run N times with --quit-after-show, alternately,
# so that a busy machine slows both alike; the ratios are what count.
# Usage:
#   N=20 tools/startup_time.sh build/kippurun --today 2026-12-09
# BARE=path names the bare window (default: bench/bare_window beside the
# program), BARE_ARGS its arguments (e.g. --label kippurun: a label that
# needs no Japanese face). Runs offscreen unless DISPLAY is set (e.g. an
# Xvfb server).
set -euo pipefail
N=${N:-20}
[ $# -ge 1 ] || { echo "usage: N=20 $0 PROGRAM [ARGS...]" >&2; exit 2; }
BARE=${BARE:-$(dirname "$1")/bench/bare_window}
[ -x "$BARE" ] || { echo "no bare window at $BARE (build the target bare_window)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
rss=$(mktemp)
trap 'rm -f "$rss"' EXIT

# One run: prints "microseconds peak-kilobytes".
run() {
  local s e
  s=$(date +%s%N)
  /usr/bin/time -f %M -o "$rss" "$@" --quit-after-show >/dev/null 2>&1 ||
    { echo "run failed: $*" >&2; exit 1; }
  e=$(date +%s%N)
  echo "$(( (e - s) / 1000 )) $(tail -n 1 "$rss")"
}

program=() bare=()
read -r -a bare_args <<<"${BARE_ARGS:-}"
run "$@" >/dev/null && run "$BARE" "${bare_args[@]}" >/dev/null  # warm the file cache
for _ in $(seq "$N"); do
  program+=("$(run "$@")")
  bare+=("$(run "$BARE" "${bare_args[@]}")")
done

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
field() { local k=$1; shift; printf '%s\n' "$@" | awk -v k="$k" '{print $k}'; }
pt=$(field 1 "${program[@]}" | median) bt=$(field 1 "${bare[@]}" | median)
pm=$(field 2 "${program[@]}" | median) bm=$(field 2 "${bare[@]}" | median)
awk -v n="$N" -v pt="$pt" -v bt="$bt" -v pm="$pm" -v bm="$bm" 'BEGIN {
  printf "runs=%d each, alternately; medians\n", n
  printf "start to shown: program %.1f ms, bare window %.1f ms, ratio %.2f\n", pt/1000, bt/1000, pt/bt
  printf "peak memory:    program %.1f MB, bare window %.1f MB, ratio %.2f\n", pm/1024, bm/1024, pm/bm
}'
