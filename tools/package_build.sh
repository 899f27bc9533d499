#!/usr/bin/env bash
# Builds the Debian package of the committed tree (git archive HEAD; a tree
# without .git, such as the copy inside a chroot, as it stands) for the
# release this machine runs, checks it, and puts the .deb into OUTDIR:
#   tools/package_build.sh OUTDIR
# The checks: lintian (no error, no warning; pedantic findings shown) and
# appstreamcli validate --pedantic on the metadata the package installs.
# The test suite is left out of the build (the nocheck profile); the
# README's test command is what tests the tree.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
version=$(dpkg-parsechangelog -l "$repo/debian/changelog" -S Version)
work=$(mktemp -d /var/tmp/kippurun-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
tree="$work/kippurun-$version"
mkdir "$tree"
if git -C "$repo" rev-parse --git-dir >/dev/null 2>&1; then
  git -C "$repo" archive --format=tar HEAD | tar -x -C "$tree"
else
  (cd "$repo" && tar -c --exclude='./build*' --exclude=./obj-\* .) | tar -x -C "$tree"
fi
started=$(date +%s)
(cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" DEB_BUILD_PROFILES=nocheck \
   dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
echo "== package: built in $(($(date +%s) - started)) s"
changes=$(ls "$work"/kippurun_"$version"_*.changes)
deb=$(ls "$work"/kippurun_"$version"_*.deb)

echo "== package: lintian --pedantic"
lintian --pedantic --fail-on error,warning "$changes"

echo "== package: appstreamcli validate --pedantic"
dpkg-deb -x "$deb" "$work/unpacked"
appstreamcli validate --pedantic --no-net "$work"/unpacked/usr/share/metainfo/*.metainfo.xml

cp "$deb" "$out/"
echo "== package: $out/$(basename "$deb")"
