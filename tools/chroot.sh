# Sourced by the scripts that work in a fresh minimal Debian chroot
# (tools/debian_chroot_test.sh, tools/package_test.sh). Needs root and
# Debian's debootstrap. The chroot comes from the mirror this machine's apt
# uses (MIRROR=URL to choose another). What is downloaded is kept for the
# next run in CACHE (default /var/cache/kippurun-chroot): the base system's
# packages as debootstrap's tarball, and every package apt fetches inside,
# so that a second run downloads nothing but still installs everything
# afresh. KEEP=1 leaves the chroot in place afterwards.
#
#   chroot_fresh RELEASE WHAT   makes $chroot_root, mounts /proc, /sys, /dev
#                               and the package cache, and removes it all
#                               on exit (WHAT names it in messages)
#   chroot_run COMMAND...       runs COMMAND inside with a clean environment

chroot_cache=${CACHE:-/var/cache/kippurun-chroot}
chroot_root=
chroot_mounts=()
chroot_inside=  # the process group of the command run in the chroot

[ "$(id -u)" -eq 0 ] || { echo "$0: run as root (debootstrap, chroot, mount)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "$0: debootstrap is missing (apt-get install debootstrap)" >&2; exit 2; }

# The first Debian archive (not its security archive) in apt's sources.
chroot_mirror() {
  local uri
  uri=$({ grep -hs '^[[:space:]]*URIs:' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.sources.disabled-by-farm 2>/dev/null |
            sed 's/^[[:space:]]*URIs:[[:space:]]*//' | tr ' ' '\n'
          grep -hs '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed 's/\[[^]]*\]//' | awk '{print $2}'
        } | grep -E '/debian/?$' | head -n 1)
  echo "${uri:-http://deb.debian.org/debian}"
}

chroot_cleanup() {
  local status=$? m i
  set +e
  if [ -n "$chroot_inside" ] && kill -0 -- "-$chroot_inside" 2>/dev/null; then
    kill -TERM -- "-$chroot_inside"
    wait "$chroot_inside"
  fi
  for ((i = ${#chroot_mounts[@]} - 1; i >= 0; i--)); do
    m=${chroot_mounts[i]}
    umount -R "$m" 2>/dev/null || umount -R -l "$m"
  done
  if [ -n "$chroot_root" ]; then
    # Removed only when nothing is mounted below it any more.
    if grep -q " $chroot_root/" /proc/mounts; then
      echo "$0: still mounted below $chroot_root: left in place" >&2
    elif [ "${KEEP:-0}" = 1 ]; then
      echo "chroot kept in $chroot_root"
    else
      rm -rf --one-file-system "$chroot_root"
    fi
  fi
  echo "== $chroot_what: $(($(date +%s) - chroot_started)) s in all"
  exit "$status"
}

chroot_mount() {  # chroot_mount SOURCE TARGET [options]
  local source=$1 target=$2
  shift 2
  mount "$@" "$source" "$target"
  chroot_mounts+=("$target")
}

chroot_fresh() {
  local release=$1 mirror tarball scratch
  chroot_what=$2
  chroot_started=$(date +%s)
  mirror=${MIRROR:-$(chroot_mirror)}
  mkdir -p "$chroot_cache/apt-$release/partial"
  tarball="$chroot_cache/$release-minbase.tgz"
  if [ ! -s "$tarball" ]; then
    echo "== $chroot_what: downloading the base system from $mirror (kept in $tarball)"
    scratch=$(mktemp -d /var/tmp/kippurun-debootstrap.XXXXXX)
    debootstrap --variant=minbase --make-tarball="$tarball.part" "$release" "$scratch" "$mirror"
    rm -rf "$scratch"
    mv "$tarball.part" "$tarball"
  fi
  trap chroot_cleanup EXIT
  trap 'exit 130' INT TERM HUP
  chroot_root=$(mktemp -d /var/tmp/kippurun-chroot-"$release".XXXXXX)
  # Users other than root work inside it too.
  chmod 755 "$chroot_root"
  echo "== $chroot_what: a fresh chroot in $chroot_root"
  debootstrap --variant=minbase --unpack-tarball="$tarball" "$release" "$chroot_root" "$mirror" >/dev/null
  # No service starts inside the chroot when a package is installed.
  printf '#!/bin/sh\nexit 101\n' >"$chroot_root/usr/sbin/policy-rc.d"
  chmod +x "$chroot_root/usr/sbin/policy-rc.d"
  cp -L /etc/resolv.conf "$chroot_root/etc/resolv.conf"
  chroot_mount proc "$chroot_root/proc" -t proc
  chroot_mount sysfs "$chroot_root/sys" -t sysfs
  chroot_mount /dev "$chroot_root/dev" --rbind
  mount --make-rslave "$chroot_root/dev"
  chroot_mount "$chroot_cache/apt-$release" "$chroot_root/var/cache/apt/archives" --bind
}

chroot_run() {
  # In a process group of its own, waited for in the background, so that a
  # signal ends it and the cleanup runs at once (bash runs a trap only after
  # a foreground command ends).
  setsid chroot "$chroot_root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" </dev/null &
  chroot_inside=$!
  wait "$chroot_inside"
  chroot_inside=
}
