#!/usr/bin/env bash
# Builds the Windows benchmark in Release and runs it under Wine against the test host:
# host calls and wall time per capture and per Reflect through the automation adapter, and the
# cost of one cross-process call.
#
#   bench/com/run.sh [--runs N] [--sizes 6,64,1000]
#
# QUARVEL_WINDOWS_BENCH_BUILD_DIR (default build-windows-bench) chooses the build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${QUARVEL_WINDOWS_BENCH_BUILD_DIR:-build-windows-bench}
QUARVEL_WINDOWS_BUILD_DIR=$build_dir scripts/build-windows.sh -DCMAKE_BUILD_TYPE=Release \
  >/dev/null

export WINEPREFIX=$PWD/$build_dir/wine-prefix
wine_sh=scripts/lib/wine.sh
trap 'bash "$wine_sh" stop' EXIT
bash "$wine_sh" boot
bash "$wine_sh" run 120 "$build_dir/tests/com-server/quarvel_test_host.exe" /regserver
echo "machine: $(nproc) cores; $(uptime)" >&2
bash "$wine_sh" run 1800 "$build_dir/bench/com/quarvel_com_bench.exe" "$@"
