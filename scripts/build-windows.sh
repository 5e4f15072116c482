#!/usr/bin/env bash
# Cross-builds the portable core for 64-bit Windows into ./build-windows (or
# $QUARVEL_WINDOWS_BUILD_DIR) with MinGW-w64 (cmake/mingw-w64-x86_64.cmake):
# state, geometry, host without adapters, host/memory, preview, the window's
# toolkit and form layers, and their tests (GoogleTest compiled from the
# sources of Debian's googletest package). Qt, the .sla adapter, the launcher
# and the benchmark are Linux-only and left out. Installs the cross compiler
# and the GoogleTest sources when missing; extra arguments go to cmake.
# It only builds: the test programs run under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++-mingw-w64-x86-64-posix googletest)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build_dir=${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}
cmake -S . -B "$build_dir" --toolchain cmake/mingw-w64-x86_64.cmake "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
