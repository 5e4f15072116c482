#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows build needs: the MinGW-w64
# cross compiler (posix threads) and its tools (widl), the build machine's own
# compiler (it reads the window's design table while the build is
# configured), Wine's IDL files for the test host's type library, Wine to run
# the Windows programs and tests, rsvg-convert and
# ImageMagick for the pictures and the icon, NSIS for the installer,
# GoogleTest's sources, and Xvfb with xdotool for the end-to-end tests.
# Idempotent and non-interactive: packages already present are left alone.
set -euo pipefail

packages=(
  cmake make ninja-build g++
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 libwine-dev
  librsvg2-bin imagemagick fonts-liberation
  nsis
  googletest
  xvfb xauth xdotool
)

# shellcheck source=scripts/lib/apt.sh
source "$(dirname "$0")/lib/apt.sh"
apt_install_missing "${packages[@]}"
