#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the Linux build, then the Windows
# cross build with its tests under Wine (QUARVEL_WINDOWS=0 leaves the Windows part out).
# Extra arguments go to cmake (for example -DQUARVEL_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh "$@"
build_dir=${QUARVEL_BUILD_DIR:-build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

if [ "${QUARVEL_WINDOWS:-1}" != 0 ]; then
  scripts/build-windows.sh "$@"
  ctest --test-dir "${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}" --output-on-failure -j "$(nproc)"
fi
