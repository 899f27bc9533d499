#!/bin/sh
# The manual page names every option the program's usage names, and no
# other, and the same counts of table files ("運賃表 25 ファイル").
# Usage: manual_page.sh PROGRAM MANPAGE
set -eu
program=$1
page=$2
usage=$("$program" --help)
in_usage=$(printf '%s\n' "$usage" | grep -o -- '--[a-z][a-z-]*' | sort -u)
in_page=$(sed 's/\\-/-/g' "$page" | grep -o -- '--[a-z][a-z-]*' | sort -u)
for option in $in_usage; do
  printf '%s\n' "$in_page" | grep -qx -- "$option" || { echo "FAIL: the manual page lacks $option"; exit 1; }
done
for option in $in_page; do
  printf '%s\n' "$in_usage" | grep -qx -- "$option" || { echo "FAIL: the usage lacks $option"; exit 1; }
done
for count in $(printf '%s\n' "$usage" | sed -n 's/.* \([0-9][0-9]*\) ファイル.*/\1/p' | sort -u); do
  sed 's/\\-/-/g' "$page" | grep -q "$count \(table\|fare-office\) files" ||
    { echo "FAIL: the usage counts $count files, the manual page does not"; exit 1; }
done
echo "manual page matches the usage"
