#!/usr/bin/env bash
# Cross-builds for 64-bit Windows into ./build-windows (or $QUARVEL_WINDOWS_BUILD_DIR) with
# MinGW-w64 (cmake/mingw-w64-x86_64.cmake): the portable core (state, geometry, host,
# host/memory, preview, the window's toolkit and form layers), the live host's automation
# adapter (host/com), the test host that plays that host (tests/com-server), the tests
# (GoogleTest compiled from the sources of Debian's googletest package) and the link's
# benchmark (bench/com). Qt, the .sla adapter, the launcher and the Linux benchmark are left out.
# Installs what is missing: the cross compiler, widl and Wine's IDL files for the test host's
# type library, and Wine to run the tests. Extra arguments go to cmake.
#
# It only builds; then
#   ctest --test-dir build-windows
# runs the Windows test programs under Wine (the first run boots a Wine prefix in the build
# folder, scripts/lib/wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools googletest wine wine64
  libwine-dev)
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
