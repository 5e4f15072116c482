#!/usr/bin/env bash
# Builds the Debian package of the Linux program into build-package/ and
# checks it with lintian (no error and no warning may remain; one accepted
# later goes in debian/quarvel.lintian-overrides, with its reason).
#
#   scripts/package.sh            # build-package/quarvel_<version>_<arch>.deb
#
# The package is built the Debian way (dpkg-buildpackage, debhelper and
# CMake) from a copy of the checkout's files (the tracked ones and new ones not
# ignored), so no build folder of the checkout reaches it and the checkout
# itself stays clean. The tests that need no display run during the build.
# Needs no network once the packages it builds with are installed.
set -euo pipefail
cd "$(dirname "$0")/.."

die() {
    echo "package.sh: $*" >&2
    exit 1
}
scripts/install-deps.sh
# What building and checking a package takes beyond the project's own build.
# shellcheck source=scripts/lib/apt.sh
source scripts/lib/apt.sh
apt_install_missing dpkg-dev debhelper lintian
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    die "run it in a git checkout of Quarvel: it packages the checkout's files"
fi

out=build-package
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
source_dir=$out/quarvel-$version
rm -rf "$out"
mkdir -p "$source_dir"
# Files deleted in the checkout but not yet in git are left out, as a commit would.
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$source_dir"

# As root the build runs without a network, which proves it needs none.
offline=()
if [ "$(id -u)" = 0 ] && unshare --net true 2>/dev/null; then
    offline=(unshare --net)
fi
echo "Building quarvel $version for $arch in $source_dir${offline:+ (no network)}"
(cd "$source_dir" && "${offline[@]}" dpkg-buildpackage -us -uc -b -j"$(nproc)") \
    >"$out/build.log" 2>&1 || {
    tail -n 60 "$out/build.log" >&2
    die "dpkg-buildpackage failed; the whole log is $out/build.log"
}
grep -E '^[0-9]+% tests passed|tests failed' "$out/build.log" || true

package=$out/quarvel_${version}_$arch.deb
[ -f "$package" ] || die "dpkg-buildpackage made no $package"
echo "Checking $package with lintian"
lintian --fail-on error,warning --display-info --info "$out/quarvel_${version}_$arch.changes" ||
    die "lintian finds faults in the package (above)"
echo "Built $package:"
dpkg-deb --info "$package" | sed -n 's/^ \(Version\|Depends\|Recommends\|Installed-Size\):/  \1:/p'
