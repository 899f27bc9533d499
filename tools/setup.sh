#!/usr/bin/env bash
# Installs what the program needs to build, run and be tested on Debian 12.
# Safe to run again: when every package is present it changes nothing.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libfontconfig-dev libicu-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-noto-cjk qt6-translations-l10n libqt6svg6
          xvfb xauth xdotool imagemagick time desktop-file-utils
          clang-14 libclang-rt-14-dev llvm-14  # the fuzz targets: libFuzzer, symbolized reports
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
