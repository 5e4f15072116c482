#!/usr/bin/env bash
# Builds quarvel.exe (scripts/build-windows.sh) and its installer with NSIS:
# build-windows/quarvel-<version>-setup.exe. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh "$@"
cmake --build "${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}" --target quarvel_installer
