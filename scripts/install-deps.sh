#!/usr/bin/env bash
# Installs the Debian 12 packages Quarvel needs to build, test and run
# (Scribus itself too: the tests check that it opens what the tool writes and
# run the Scribus script in it; Python for the scripts' JSON and install checks;
# clang-format and clang-tidy for scripts/check-style.sh; clang and its runtime
# libraries for the fuzz target, scripts/fuzz.sh; the Debian packaging tools
# for scripts/package.sh and debootstrap for scripts/check-package.sh).
# Idempotent and non-interactive: packages already present are left alone.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6
  libgtest-dev libgmock-dev
  libpugixml-dev zlib1g-dev
  fonts-liberation
  xvfb xauth xdotool imagemagick
  desktop-file-utils
  scribus python3
  clang-format clang-tidy
  clang libclang-rt-14-dev
  dpkg-dev debhelper lintian debootstrap
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
