#!/usr/bin/env bash
# Installs the Debian 12 packages Quarvel needs to build, test and run
# (Ninja for CI's builds; Scribus itself too: the tests check that it opens
# what the tool writes and run the Scribus script in it; Python for the
# scripts' JSON and install checks; clang-format and clang-tidy for
# scripts/check-style.sh; clang and its runtime libraries for the fuzz target,
# scripts/fuzz.sh; the Debian packaging tools for scripts/package.sh and
# debootstrap for scripts/check-package.sh).
# Idempotent and non-interactive: packages already present are left alone.
set -euo pipefail

packages=(
  g++ cmake make ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6
  libgtest-dev libgmock-dev
  libpugixml-dev zlib1g-dev libzip-dev
  fonts-liberation
  xvfb xauth xdotool imagemagick
  desktop-file-utils
  scribus python3
  clang-format clang-tidy
  clang libclang-rt-14-dev
)

# shellcheck source=scripts/lib/apt.sh
source "$(dirname "$0")/lib/apt.sh"
apt_install_missing "${packages[@]}"
