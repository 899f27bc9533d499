#!/usr/bin/env bash
# Runs one fuzz target of BUILD_DIR for SECONDS, starting from the committed
# seeds; what it finds new is kept in BUILD_DIR/fuzz/corpus-TARGET for the
# next run. Further arguments go to libFuzzer (e.g. -jobs=1).
#   fuzz/run.sh build-fuzz table_file_fuzz 600
set -euo pipefail
if [ "$#" -lt 3 ]; then
  echo "usage: $0 BUILD_DIR TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1" target="$2" seconds="$3"
shift 3
case "$target" in
  # The largest sample table is 54 kB: room for it and some growth.
  # Each target's committed corpus was grown by a long run and merged
  # (-merge=1), so that a short run starts where that one ended.
  table_file_fuzz) seeds=("$root/fuzz/corpus/tables" "$root/Untin") max=65536 ;;
  key_layout_fuzz) seeds=("$root/fuzz/corpus/key_layout" "$root/fuzz/corpus/tables" "$root/Untin") max=65536 ;;
  number_reading_fuzz) seeds=("$root/fuzz/corpus/numbers") max=4096 ;;
  script_parser_fuzz) seeds=("$root/fuzz/corpus/scripts" "$root/tests/scripts") max=4096 ;;
  *) echo "$0: unknown target $target" >&2; exit 2 ;;
esac
found="$build/fuzz/corpus-$target"
# The readers take their input from a file, written anew for every input:
# in memory, not on a disk that is made to flush each rewritten file.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
mkdir -p "$found"
exec "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max" -timeout=30 \
  -artifact_prefix="$build/fuzz/$target-" -print_final_stats=1 "$@" "$found" "${seeds[@]}"
