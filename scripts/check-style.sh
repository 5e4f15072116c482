#!/usr/bin/env bash
# Checks the sources' style: every tracked C++ file formatted as .clang-format
# says, and every source file of the build tree in BUILD_DIR (default build/,
# configured with compile commands) clean under .clang-tidy. Installs
# clang-format and clang-tidy when missing. Prints what fails; exit status 1 then.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

packages=(clang-format clang-tidy)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  scripts/install-deps.sh
fi

status=0
echo "clang-format: checking $(git ls-files '*.cpp' '*.h' | wc -l) files"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || status=1

[ -f "$build_dir/compile_commands.json" ] ||
  cmake -S . -B "$build_dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# The project's own files that the build compiles (not Qt's generated ones).
mapfile -t sources < <(git ls-files '*.cpp' | while read -r file; do
  grep -q "\"file\": \"$PWD/$file\"" "$build_dir/compile_commands.json" && echo "$file"
done)
echo "clang-tidy: checking ${#sources[@]} files"
printf '%s\0' "${sources[@]}" |
  xargs -0 -P "$(nproc)" -n 8 clang-tidy -p "$build_dir" --quiet \
    --extra-arg=-Wno-unknown-warning-option 2>/dev/null || status=1

[ "$status" = 0 ] && echo "style: clean"
exit "$status"
