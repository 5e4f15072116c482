#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# Extra arguments go to cmake (for example -DQUARVEL_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh "$@"
build_dir=${QUARVEL_BUILD_DIR:-build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
