#!/usr/bin/env bash
# Checks the sources' style: every tracked C++ file formatted as .clang-format
# says, and every source file of the build tree in BUILD_DIR (default build/,
# configured with compile commands) clean under .clang-tidy, and so the files
# only the Windows cross build in WINDOWS_DIR compiles. Installs
# clang-format and clang-tidy when missing. Prints what fails; exit status 1 then.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

# shellcheck source=scripts/lib/apt.sh
source scripts/lib/apt.sh
if [ -n "$(apt_missing clang-format clang-tidy)" ]; then
  scripts/install-deps.sh
fi

status=0
echo "clang-format: checking $(git ls-files '*.cpp' '*.h' | wc -l) files"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || status=1

[ -f "$build_dir/compile_commands.json" ] ||
  cmake -S . -B "$build_dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# clang-tidy reads the tool's own sources one by one, and the tests as the groups a
# unity build (CI's) compiles them in; scripts/lib/unity-sources.py says why.
commands=$(mktemp -d)
trap 'rm -rf "$commands"' EXIT
python3 scripts/lib/unity-sources.py "$build_dir" "$commands/linux"
mapfile -t sources <"$commands/linux/read"
echo "clang-tidy: checking $(wc -l <"$commands/linux/sources") files"
printf '%s\0' "${sources[@]}" |
  xargs -0 -P "$(nproc)" -n 2 clang-tidy -p "$commands/linux" --quiet \
    --line-filter="$(cat "$commands/linux/line-filter.json")" \
    --extra-arg=-Wno-unknown-warning-option 2>/dev/null || status=1

# The Windows-only sources (host/com, the test host, their tests) as the cross build in
# WINDOWS_DIR (default build-windows/, configured with compile commands) compiles them, read by
# clang for the MinGW-w64 target with the cross compiler's C++ headers. Skipped without it.
windows_dir=${2:-build-windows}
if [ -f "$windows_dir/compile_commands.json" ]; then
  python3 scripts/lib/unity-sources.py "$windows_dir" "$commands/windows" --except "$commands/linux"
  mapfile -t windows_sources <"$commands/windows/read"
  target=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-Wno-unknown-warning-option)
  while read -r folder; do
    target+=("--extra-arg=-isystem$folder")
  done < <(x86_64-w64-mingw32-g++-posix -xc++ -E -v /dev/null 2>&1 |
    sed -n '/<...> search starts here/,/End of search list/p' | grep '^ .*c++')
  echo "clang-tidy: checking $(wc -l <"$commands/windows/sources") Windows files"
  printf '%s\0' "${windows_sources[@]}" |
    xargs -0 -P "$(nproc)" -n 2 clang-tidy -p "$commands/windows" --quiet "${target[@]}" \
      --line-filter="$(cat "$commands/windows/line-filter.json")" 2>/dev/null || status=1
fi

[ "$status" = 0 ] && echo "style: clean"
exit "$status"
