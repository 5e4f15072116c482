#!/usr/bin/env bash
# Cross-builds for 64-bit Windows into ./build-windows (or $QUARVEL_WINDOWS_BUILD_DIR) with
# MinGW-w64 (cmake/mingw-w64-x86_64.cmake): the portable core (state, geometry, host,
# host/memory, preview, the window's toolkit, form and headless layers), the live host's
# automation adapter (host/com), the Win32 window (window/win32) and quarvel.exe with its
# pictures, the test host that plays the live host (tests/com-server), the tests (GoogleTest
# compiled from the sources of Debian's googletest package) and the Windows benchmarks. Qt,
# the .sla adapter, the Linux launcher and the Linux benchmark are left out.
# Installs what is missing (scripts/install-deps-windows.sh). Extra arguments go to cmake.
#
# It only builds; then
#   ctest --test-dir build-windows
# runs the Windows test programs under Wine (the first run boots a Wine prefix in the build
# folder, scripts/lib/wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps-windows.sh

build_dir=${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}
cmake -S . -B "$build_dir" --toolchain cmake/mingw-w64-x86_64.cmake "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
