#!/usr/bin/env bash
# Runs the README's test command (the second command of its first section,
# as it stands there) in a fresh minimal Debian chroot of RELEASE, on a clean
# copy of the committed tree (git archive HEAD):
#   tools/debian_chroot_test.sh trixie
# Needs root and Debian's debootstrap. The chroot comes from the mirror this
# machine's apt uses (MIRROR=URL to choose another). What is downloaded is
# kept for the next run in CACHE (default /var/cache/kippurun-chroot): the
# base system's packages as debootstrap's tarball, and the packages
# tools/setup.sh installs, so that a second run downloads nothing but still
# installs everything afresh. KEEP=1 leaves the chroot in place afterwards.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 RELEASE (e.g. trixie)" >&2; exit 2; }
release=$1
repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${CACHE:-/var/cache/kippurun-chroot}
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root (debootstrap, chroot, mount)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "$0: debootstrap is missing (apt-get install debootstrap)" >&2; exit 2; }

# The first Debian archive (not its security archive) in apt's sources.
mirror() {
  local uri
  uri=$({ grep -hs '^[[:space:]]*URIs:' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.sources.disabled-by-farm 2>/dev/null |
            sed 's/^[[:space:]]*URIs:[[:space:]]*//' | tr ' ' '\n'
          grep -hs '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed 's/\[[^]]*\]//' | awk '{print $2}'
        } | grep -E '/debian/?$' | head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}
mirror=${MIRROR:-$(mirror)}

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

mkdir -p "$cache/apt-$release/partial"
tarball="$cache/$release-minbase.tgz"
started=$(date +%s)
if [ ! -s "$tarball" ]; then
  echo "== $release: downloading the base system from $mirror (kept in $tarball)"
  scratch=$(mktemp -d /var/tmp/kippurun-debootstrap.XXXXXX)
  debootstrap --variant=minbase --make-tarball="$tarball.part" "$release" "$scratch" "$mirror"
  rm -rf "$scratch"
  mv "$tarball.part" "$tarball"
fi

root=$(mktemp -d /var/tmp/kippurun-chroot-"$release".XXXXXX)
mounts=()
inside=  # the process group of the command run in the chroot
cleanup() {
  local status=$? m i
  set +e
  if [ -n "$inside" ] && kill -0 -- "-$inside" 2>/dev/null; then
    kill -TERM -- "-$inside"
    wait "$inside"
  fi
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    m=${mounts[i]}
    umount -R "$m" 2>/dev/null || umount -R -l "$m"
  done
  # Removed only when nothing is mounted below it any more.
  if grep -q " $root/" /proc/mounts; then
    echo "$0: still mounted below $root: left in place" >&2
  elif [ "${KEEP:-0}" = 1 ]; then
    echo "chroot kept in $root"
  else
    rm -rf --one-file-system "$root"
  fi
  echo "== $release: $(($(date +%s) - started)) s in all"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

echo "== $release: a fresh chroot in $root"
debootstrap --variant=minbase --unpack-tarball="$tarball" "$release" "$root" "$mirror"
# No service starts inside the chroot when a package is installed.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

bind() {  # bind SOURCE TARGET [options]
  local source=$1 target=$2
  shift 2
  mount "$@" "$source" "$target"
  mounts+=("$target")
}
bind proc "$root/proc" -t proc
bind sysfs "$root/sys" -t sysfs
bind /dev "$root/dev" --rbind
mount --make-rslave "$root/dev"
bind "$cache/apt-$release" "$root/var/cache/apt/archives" --bind

mkdir -p "$root/root/kippurun"
git -C "$repo" archive --format=tar HEAD | tar -x -C "$root/root/kippurun"

echo "== $release: $readme_command"
# In a process group of its own, waited for in the background, so that a
# signal ends it and the cleanup runs at once (bash runs a trap only after
# a foreground command ends).
setsid chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c "cd /root/kippurun && $readme_command" </dev/null &
inside=$!
wait "$inside"
inside=
echo "== $release: passed"
