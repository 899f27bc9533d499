#!/usr/bin/env bash
# The package as installed: `apt install ./kippurun_*.deb` into a fresh
# minimal chroot of RELEASE, then, as users who are not root, a scripted
# sale and --check; a key layout saved by a clerk (group kippurun) and
# refused to a non-member; a clerk's write to Otona.csv and --install-tables
# refused, the fare office's install done; an upgrade that keeps both; a
# purge that removes what the package put in place and keeps a changed
# tables folder.
#   tools/package_test.sh RELEASE DEB
# Needs root and debootstrap; the base system and packages are cached in
# CACHE as tools/debian_chroot_test.sh caches them.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 RELEASE DEB" >&2; exit 2; }
release=$1
deb=$(realpath "$2")
cache=${CACHE:-/var/cache/kippurun-chroot}
mirror=${MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root" >&2; exit 2; }
started=$(date +%s)
mkdir -p "$cache/apt-$release/partial"
tarball="$cache/$release-minbase.tgz"
if [ ! -s "$tarball" ]; then
  scratch=$(mktemp -d /var/tmp/kippurun-debootstrap.XXXXXX)
  debootstrap --variant=minbase --make-tarball="$tarball.part" "$release" "$scratch" "$mirror"
  rm -rf "$scratch"
  mv "$tarball.part" "$tarball"
fi
root=$(mktemp -d /var/tmp/kippurun-pkgtest-"$release".XXXXXX)
# Users other than root work inside it.
chmod 755 "$root"
mounts=()
cleanup() {
  local status=$? i
  set +e
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}"
  done
  if grep -q " $root/" /proc/mounts; then
    echo "$0: still mounted below $root: left in place" >&2
  else
    rm -rf --one-file-system "$root"
  fi
  echo "== $release: package test $(($(date +%s) - started)) s"
  exit "$status"
}
trap cleanup EXIT
debootstrap --variant=minbase --unpack-tarball="$tarball" "$release" "$root" "$mirror" >/dev/null
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
for m in proc sys dev; do
  case $m in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sysfs "$root/sys" ;;
    dev) mount --rbind /dev "$root/dev"; mount --make-rslave "$root/dev" ;;
  esac
  mounts+=("$root/$m")
done
mount --bind "$cache/apt-$release" "$root/var/cache/apt/archives"
mounts+=("$root/var/cache/apt/archives")
cp "$deb" "$root/root/"
cp "$(dirname "$0")/package_checks.sh" "$root/root/"
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash /root/package_checks.sh "/root/$(basename "$deb")"
echo "== $release: package test passed"
