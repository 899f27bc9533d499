#!/usr/bin/env bash
# Installs what the program needs to build, run and be tested on Debian 12
# (bookworm) or 13 (trixie).
# Safe to run again: when every package is present it changes nothing.
set -euo pipefail
codename=
if [ -r /etc/os-release ]; then
  # shellcheck disable=SC1091
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || codename=$(. /etc/os-release && echo "${VERSION_ID:-}")
fi
# The packages whose names differ between the releases: the clang each
# release ships for the fuzz targets (libFuzzer, symbolized reports), and
# Qt's SVG icon engine, a package of its own from Debian 13 on.
case "$codename" in
  bookworm | 12) clang=14 svg=(libqt6svg6) ;;
  trixie | 13) clang=19 svg=(libqt6svg6 qt6-svg-plugins) ;;
  *)
    echo "tools/setup.sh: Debian 12 (bookworm) or 13 (trixie) expected, found '${codename:-unknown}';" \
      "using the package names of Debian 13" >&2
    clang=19 svg=(libqt6svg6 qt6-svg-plugins)
    ;;
esac
packages=(cmake g++ make pkg-config qt6-base-dev libfontconfig-dev libicu-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-noto-cjk qt6-translations-l10n "${svg[@]}"
          xvfb xauth xdotool imagemagick time desktop-file-utils
          python3-pyatspi at-spi2-core dbus  # the accessibility test
          libreoffice-calc-nogui  # the spreadsheet round trip of the fare office's tables
          debootstrap  # .ci/run: the test command on a fresh chroot of another release
          bindfs  # a second mount of a folder without shared locks, as a network share
          build-essential debhelper dpkg-dev fakeroot lintian appstream  # the Debian package and its checks
          "clang-$clang" "libclang-rt-$clang-dev" "llvm-$clang"  # the fuzz targets
          clang-format)  # the formatting check of .ci/run
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
