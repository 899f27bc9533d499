#!/bin/sh
# The manual page names every option the program's usage names, and no
# other. (It names no count of table files: the usage takes those from the
# program's list of files, a page could only copy them.)
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
if sed 's/\\-/-/g' "$page" | grep -q '[0-9][0-9]* \(table\|fare-office\) files'; then
  echo "FAIL: the manual page counts table files"
  exit 1
fi
echo "manual page matches the usage"
