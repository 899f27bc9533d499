#!/usr/bin/env bash
# Run inside a fresh chroot by tools/package_test.sh: installs DEB and works
# it as a clerk, a non-member and the fare office.
set -euo pipefail
deb=$1
export DEBIAN_FRONTEND=noninteractive
fail() { echo "FAILED: $*" >&2; exit 1; }
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "$deb" >/dev/null
top=/var/lib/kippurun
as() { local user=$1; shift; runuser -u "$user" -- "$@"; }
adduser --disabled-password --gecos '' --quiet clerk
adduser --disabled-password --gecos '' --quiet visitor
adduser --disabled-password --gecos '' --quiet office
adduser --quiet clerk kippurun
adduser --quiet office kippurun-office

echo "-- a scripted sale and --check as a clerk"
sale='click cmdJikkou'
out=$(cd /tmp && echo "$sale" | as clerk kippurun --today 2026-12-09 --script -) || fail "sale: $out"
out=$(as clerk kippurun --check) || fail "--check: $out"

echo "-- the settings pair saved by a clerk, refused to a non-member"
save=$'click cmdSettei\nselect cboHatsu 11\nclick cmdEki03\nanswer yes\nclick cmdStart'
before=$(md5sum "$top"/counter/*.csv)
tables=$(md5sum "$top"/Untin/*.csv)
# The refusal is the screen's message; the script itself goes on.
out=$(printf '%s\n' "$save" | as visitor kippurun --today 2026-12-09 --script - 2>&1) || true
echo "$out" | grep -q "権限" || fail "visitor's refusal names no reason: $out"
[ "$(md5sum "$top"/counter/*.csv)" = "$before" ] || fail "visitor's refused save changed the pair"
out=$(printf '%s\n' "$save" | as clerk kippurun --today 2026-12-09 --script - 2>&1) || fail "clerk's save: $out"
[ "$(md5sum "$top"/counter/*.csv)" != "$before" ] || fail "clerk's save changed nothing"
[ "$(md5sum "$top"/Untin/*.csv)" = "$tables" ] || fail "clerk's save touched the tables"
[ ! -e "$top/Untin/Ekimei1.csv" ] || fail "the pair was saved with the tables"

echo "-- a clerk cannot change the tables"
as clerk sh -c "echo 1 >> $top/Untin/Otona.csv" 2>/dev/null && fail "a clerk wrote Otona.csv"
mkdir -p /tmp/new && cp "$top"/Untin/*.csv /tmp/new/ && cp "$top"/counter/*.csv /tmp/new/
chmod -R a+rX /tmp/new
out=$(as clerk kippurun --install-tables /tmp/new 2>&1) && fail "a clerk installed tables: $out"
echo "$out" | grep -q "書き込めません" || fail "clerk's install refusal unclear: $out"
# The fare office's revision changes one fare (line 68, the first value).
awk 'BEGIN {FS = OFS = ","} NR == 68 {$1 += 100} {print}' "$top/Untin/Otona.csv" >/tmp/new/Otona.csv
cmp -s /tmp/new/Otona.csv "$top/Untin/Otona.csv" && fail "the revision changes nothing"
out=$(as office kippurun --install-tables /tmp/new 2>&1) || fail "the office's install: $out"
cmp -s /tmp/new/Otona.csv "$top/Untin/Otona.csv" || fail "the office's install did not put the new fare in place"
out=$(as clerk kippurun --check) || fail "--check after the office's install: $out"

echo "-- an upgrade to a newer version keeps the tables and the pair"
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb -R "$deb" /tmp/newer
sed -i "s/^Version: .*/Version: $version+1/" /tmp/newer/DEBIAN/control
dpkg-deb -b /tmp/newer "/tmp/kippurun_$version+1.deb" >/dev/null
sums=$(md5sum "$top"/Untin/*.csv "$top"/counter/*.csv)
apt-get install -y -q "/tmp/kippurun_$version+1.deb" >/dev/null
[ "$(dpkg-query -W -f='${Version}' kippurun)" = "$version+1" ] || fail "the newer version was not installed"
[ "$(md5sum "$top"/Untin/*.csv "$top"/counter/*.csv)" = "$sums" ] || fail "upgrade changed the folders"
out=$(as clerk kippurun --check) || fail "--check after the upgrade: $out"

echo "-- purge removes what the package put in place and keeps the changed folders"
said=$(apt-get purge -y -q kippurun 2>&1)
[ -d "$top/Untin" ] || fail "purge removed the changed tables"
[ -d "$top/counter" ] || fail "purge removed the clerk's saved pair"
echo "$said" | grep -q "$top/Untin" || fail "purge did not say where the tables are kept: $said"
[ ! -e /usr/bin/kippurun ] && [ ! -e /usr/share/kippurun ] || fail "purge left the program"
[ ! -e "$top/.installed.md5" ] || fail "purge left its record"
echo "package checks passed"
