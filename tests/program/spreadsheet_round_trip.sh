#!/bin/sh
# The tables through a real spreadsheet: exported, opened and saved by
# LibreOffice Calc (headless, UTF-8, comma, double quote, its own profile),
# imported again. Unchanged sheets give the very bytes of the tables; one
# fare edited and saved by Calc gives exactly its journey in --diff; a row
# moved, a column sorted, a row deleted are refused with the place.
#   spreadsheet_round_trip.sh KIPPURUN UNTIN WORK
set -eu
prog=$1 untin=$2 work=$3
if ! command -v soffice >/dev/null 2>&1; then
  echo "skipped: soffice is missing (Debian: libreoffice-calc-nogui, installed by tools/setup.sh)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

# Calc opens each file as a fare office would (UTF-8, comma, double quote)
# and saves it as CSV the same way, cell contents as shown. All files of
# one call in one start of Calc.
calc() {
  outdir=$1
  shift
  mkdir -p "$outdir"
  soffice -env:UserInstallation="file://$work/profile" --headless --norestore \
    --infilter="Text - txt - csv (StarCalc):44,34,76,1" \
    --convert-to "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true" \
    --outdir "$outdir" "$@" >"$work/soffice.log" 2>&1 || { cat "$work/soffice.log"; fail "soffice"; }
}

started=$(date +%s%N)
"$prog" --export-tables "$work/sheets" --untin "$untin" >/dev/null
calc "$work/saved" "$work"/sheets/*.csv
# A sheet of every table; the counter's pair has none.
for f in "$untin"/*.csv; do
  case "${f##*/}" in Start.csv|Ekimei1.csv) continue ;; esac
  [ -e "$work/sheets/${f##*/}" ] || fail "no sheet of ${f##*/}"
done
sheets=$(ls "$work"/sheets/*.csv | wc -l)
[ "$(ls "$work"/saved/*.csv | wc -l)" -eq "$sheets" ] || fail "Calc saved $(ls "$work"/saved | wc -l) files, not $sheets"
"$prog" --import-tables "$work/saved" --into "$work/new" --untin "$untin" >"$work/import.log" 2>&1 ||
  { cat "$work/import.log"; fail "import of the sheets Calc saved"; }
for f in "$work"/sheets/*.csv; do
  name=$(basename "$f")
  cmp -s "$untin/$name" "$work/new/$name" || fail "$name differs after Calc"
done
echo "$sheets sheets through Calc and back: byte-identical"

# Calc's edit: the adult fare 岡山 → 松山 (row of arrival 67, column of
# departure 0) raised by 100 in the exported file, then saved by Calc.
mkdir -p "$work/edit" "$work/damaged"
old=$(awk -F, 'NR == 69 {print $2}' "$work/sheets/Otona.csv")
new=$((old + 100))
awk -F, -v OFS=, -v v="$new" 'NR == 69 {$2 = v} {print}' "$work/sheets/Otona.csv" >"$work/edit/Otona.csv"
# The damage: a row moved down, two columns swapped (a sort), a row deleted.
awk 'NR == 14 {held = $0; next} NR == 15 {print; print held; next} {print}' \
  "$work/sheets/Kodomo.csv" >"$work/damaged/Kodomo.csv"
awk -F, -v OFS=, '{t = $6; $6 = $7; $7 = t; print}' "$work/sheets/Jiyu.csv" >"$work/damaged/Jiyu.csv"
awk 'NR != 20' "$work/sheets/Tujo.csv" >"$work/damaged/Tujo.csv"
calc "$work/saved2" "$work/edit/Otona.csv" "$work"/damaged/*.csv

mkdir -p "$work/in-edit"
cp "$work/saved2/Otona.csv" "$work/in-edit/"
"$prog" --import-tables "$work/in-edit" --into "$work/new-edit" --untin "$untin" >/dev/null 2>&1 ||
  fail "import of the edited fare"
status=0
"$prog" --diff "$untin" "$work/new-edit" >"$work/diff.csv" 2>"$work/diff.log" || status=$?
[ "$status" -eq 1 ] || fail "--diff status $status"
rows=$(tail -n +2 "$work/diff.csv" | wc -l)
others=$(tail -n +2 "$work/diff.csv" | grep -cv '^0,岡　　山,67,松　　山,' || true)
[ "$rows" -gt 0 ] && [ "$others" -eq 0 ] || fail "--diff: $rows rows, $others of other journeys"
grep -q "^0,岡　　山,67,松　　山,片道乗車券 大人,$old,$new,100" "$work/diff.csv" || fail "--diff lacks the fare"
echo "one fare edited in Calc: --diff shows 岡山 → 松山 alone ($rows fields)"

refused() {
  name=$1 says=$2
  rm -rf "$work/in-one" "$work/new-one"
  mkdir -p "$work/in-one"
  cp "$work/saved2/$name" "$work/in-one/"
  status=0
  "$prog" --import-tables "$work/in-one" --into "$work/new-one" --untin "$untin" >"$work/one.log" 2>&1 || status=$?
  [ "$status" -eq 1 ] || fail "$name: status $status"
  [ ! -e "$work/new-one" ] || fail "$name: something written"
  grep -q "$says" "$work/one.log" || { cat "$work/one.log"; fail "$name: no '$says'"; }
  echo "refused: $(head -n 1 "$work/one.log")"
}
refused Kodomo.csv "Kodomo.csv: 1 列目の 14 行 1 列（A14）は着駅「12 (讃)高松」のはずですが、「13 香　　西」です"
refused Jiyu.csv "Jiyu.csv: 1 行目の 1 行 6 列（F1）は発駅"
refused Tujo.csv "Tujo.csv: 1 列目の 20 行 1 列（A20）は着駅"
echo "spreadsheet round trip passed in $((($(date +%s%N) - started) / 1000000)) ms"
