#!/usr/bin/env bash
# Runs the README's test command (the second command of its first section,
# as it stands there) in a fresh minimal Debian chroot of RELEASE, on a clean
# copy of the committed tree (git archive HEAD):
#   tools/debian_chroot_test.sh trixie [--package OUTDIR]
# With --package, the Debian package is then built and checked in the same
# chroot (tools/package_build.sh) and put into OUTDIR: a package for that
# release, built against its own libraries.
# Needs root and Debian's debootstrap; the chroot, its mirror and its cache
# are tools/chroot.sh's.
set -euo pipefail
usage() { echo "usage: $0 RELEASE [--package OUTDIR]" >&2; exit 2; }
[ $# -eq 1 ] || [ $# -eq 3 ] || usage
release=$1
package=
if [ $# -eq 3 ]; then
  [ "$2" = --package ] || usage
  mkdir -p "$3"
  package=$(cd "$3" && pwd)
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/chroot.sh
. "$repo/tools/chroot.sh"

# The command, read from the README so that it is tested as it stands there.
readme_command=$(awk '
  /^## / {exit}
  /^```/ {inside = !inside; if (!inside) blocks++; next}
  inside && blocks == 1 {print}
' "$repo/README.md")
case "$readme_command" in
  *ctest*) ;;
  *) echo "$0: no test command found in the README's first section" >&2; exit 2 ;;
esac

chroot_fresh "$release" "$release"
mkdir -p "$chroot_root/root/kippurun"
git -C "$repo" archive --format=tar HEAD | tar -x -C "$chroot_root/root/kippurun"

echo "== $release: $readme_command"
chroot_run /bin/bash -c "cd /root/kippurun && $readme_command"
echo "== $release: passed"
if [ -n "$package" ]; then
  chroot_run /bin/bash /root/kippurun/tools/package_build.sh /root/deb
  cp "$chroot_root"/root/deb/*.deb "$package/"
fi
