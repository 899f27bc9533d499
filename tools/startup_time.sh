#!/usr/bin/env bash
# Median wall time from process start to the sales window shown, over N runs
# of the program with --quit-after-show. Usage:
#   N=20 tools/startup_time.sh build/kippurun --today 2026-12-09
# Runs offscreen unless DISPLAY is set (e.g. an Xvfb server).
set -euo pipefail
N=${N:-20}
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
times=()
for _ in $(seq "$N"); do
  s=$(date +%s%N)
  "$@" --quit-after-show >/dev/null 2>&1 || { echo "run failed: $?" >&2; exit 1; }
  e=$(date +%s%N)
  times+=($(( (e - s) / 1000000 )))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "runs=%d min=%d median=%d max=%d ms\n", NR, a[1], (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2), a[NR]}'
