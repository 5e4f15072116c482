#!/usr/bin/env bash
# Builds the artwork preview tool and writes every picture of the window's
# artwork as PNG into <build dir>/artwork-preview (the build dir is ./build,
# or $QUARVEL_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QUARVEL_BUILD_DIR:-build}
cmake -S . -B "$build_dir" "$@" >/dev/null
cmake --build "$build_dir" -j 2 --target artwork_preview
out="$build_dir/artwork-preview"
# Qt wants a private runtime folder; a throwaway one keeps it quiet.
runtime_dir=$(mktemp -d)
trap 'rm -rf "$runtime_dir"' EXIT
XDG_RUNTIME_DIR=$runtime_dir QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 "$build_dir/artwork_preview" "$out"
echo "Pictures written to $out"
