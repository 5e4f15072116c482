#!/usr/bin/env bash
# Fuzzes the tool's whole path on Scribus documents (open, capture, duplicate,
# reflect, save, reopen) with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer.
#
#   scripts/fuzz.sh [SECONDS] [LIBFUZZER OPTION ...]
#
# Builds fuzz/ with clang into build-fuzz/ (QUARVEL_FUZZ_BUILD_DIR), then runs
# for SECONDS (default 60) over the seeds in fuzz/corpus/ and the test
# documents, with fuzz/sla.dict. Inputs it finds worth keeping go to
# build-fuzz/corpus/, crashes to build-fuzz/crashes/; it ends non-zero on a crash.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
build=${QUARVEL_FUZZ_BUILD_DIR:-build-fuzz}

scripts/install-deps.sh
# One target: a unity build with line tables (enough for the sanitizers' reports)
# takes half the time of a plain one. A folder configured before keeps its generator.
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ -DQUARVEL_FUZZ=ON \
  -DQUARVEL_BUILD_TESTS=OFF -DQUARVEL_BUILD_BENCH=OFF -DQUARVEL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" >/dev/null
cmake --build "$build" --target sla_fuzz -j2

mkdir -p "$build/corpus" "$build/crashes"
if [ -x /usr/bin/llvm-symbolizer-14 ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# One process, one core: the machines are shared. Add -fork=2 (or -jobs=N
# -workers=N) to use more. -print_final_stats reports executions and coverage.
"$build/fuzz/sla_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
  -rss_limit_mb=2048 -dict=fuzz/sla.dict -artifact_prefix="$build/crashes/" \
  -print_final_stats=1 "$@" \
  "$build/corpus" fuzz/corpus tests/data/scribus samples
