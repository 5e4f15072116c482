#!/usr/bin/env bash
# Cross-builds the portable core for 64-bit Windows into ./build-windows (or
# $QUARVEL_WINDOWS_BUILD_DIR) with MinGW-w64 (cmake/mingw-w64-x86_64.cmake):
# state, geometry, host without adapters, host/memory, preview, the window's
# toolkit and form layers, and their tests (GoogleTest compiled from the
# sources of Debian's googletest package). Qt, the .sla adapter, the launcher
# and the benchmark are Linux-only and left out; the Win32 window and its
# pictures come in. Installs what the Windows build and its tests need when
# missing (scripts/install-deps-windows.sh); extra arguments go to cmake.
# It only builds: the test programs run under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps-windows.sh

build_dir=${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}
cmake -S . -B "$build_dir" --toolchain cmake/mingw-w64-x86_64.cmake "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
