#!/usr/bin/env bash
# The package as installed: `apt install ./kippurun_*.deb` into a fresh
# minimal chroot of RELEASE, then, as users who are not root, a scripted
# sale and --check; a key layout saved by a clerk (group kippurun) and
# refused to a non-member; a clerk's write to Otona.csv and --install-tables
# refused, the fare office's install of a changed fare done; an upgrade to
# a newer version that keeps both; a purge that removes what the package put
# in place and keeps a changed tables folder (tools/package_checks.sh).
#   tools/package_test.sh RELEASE DEB
# Needs root and debootstrap; the chroot, its mirror and its cache are
# tools/chroot.sh's.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 RELEASE DEB" >&2; exit 2; }
release=$1
deb=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/chroot.sh
. "$here/chroot.sh"
chroot_fresh "$release" "$release: package test"
cp "$deb" "$here/package_checks.sh" "$chroot_root/root/"
chroot_run /bin/bash /root/package_checks.sh "/root/$(basename "$deb")"
echo "== $release: package test passed"
