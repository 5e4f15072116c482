#!/usr/bin/env bash
# Builds the Debian package of the Linux program and checks it with lintian
# (no error and no warning may remain; one accepted later goes in
# debian/quarvel.lintian-overrides, with its reason). A binary package is built
# for the Debian release it is installed on:
#
#   scripts/package.sh            # for this machine's release, on this machine:
#                                 # build-package/<release>/quarvel_<version>_<arch>.deb
#   sudo scripts/package.sh trixie   # for RELEASE, in a clean root of it:
#                                 # build-package/trixie/quarvel_<version>_<arch>.deb
#
# The package is built the Debian way (dpkg-buildpackage, debhelper and
# CMake) from a copy of the checkout's files (the tracked ones and new ones not
# ignored) in build-package/<release>/quarvel-<version>/, so no build folder of
# the checkout reaches it and the checkout itself stays clean. The tests that
# need no display run during the build. As root the build runs without a
# network, which proves it needs none.
#
# For a named release (as root: it mounts and chroots) the build root is made
# once with debootstrap --variant=minbase, with the build tools and lintian of
# that release, and kept beside scripts/check-package.sh's roots (in
# $QUARVEL_ROOTS, as <release>-build; remove it to make it again). Each build
# starts from it under a throwaway layer: apt-get build-dep installs what
# debian/control names, dpkg-buildpackage builds, and that release's lintian
# checks the result.
set -euo pipefail
cd "$(dirname "$0")/.."

die() {
    echo "package.sh: $*" >&2
    exit 1
}
[ $# -le 1 ] || die "usage: scripts/package.sh [RELEASE]"
release=${1:-}
# shellcheck source=scripts/lib/apt.sh
source scripts/lib/apt.sh
if [ -z "$release" ]; then
    scripts/install-deps.sh
    # What building and checking a package takes beyond the project's own build.
    apt_install_missing dpkg-dev debhelper lintian
else
    [ "$(id -u)" = 0 ] || die "run as root to build for $release: the build mounts folders and chroots"
    apt_install_missing dpkg-dev debootstrap
fi
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    die "run it in a git checkout of Quarvel: it packages the checkout's files"
fi

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
out=build-package/${release:-$(. /etc/os-release && echo "$VERSION_CODENAME")}
source_dir=$out/quarvel-$version
rm -rf --one-file-system "$out"
mkdir -p "$source_dir"
# Files deleted in the checkout but not yet in git are left out, as a commit would.
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$source_dir"

offline=()
if [ "$(id -u)" = 0 ] && unshare --net true 2>/dev/null; then
    offline=(unshare --net)
fi
build=(dpkg-buildpackage -us -uc -b -j"$(nproc)")
lint=(lintian --fail-on "error,warning" --display-info --info "quarvel_${version}_$arch.changes")
started=$(date +%s)
if [ -z "$release" ]; then
    echo "Building quarvel $version for $arch in $source_dir${offline:+ (no network)}"
    (cd "$source_dir" && "${offline[@]}" "${build[@]}") >"$out/build.log" 2>&1 || {
        tail -n 60 "$out/build.log" >&2
        die "dpkg-buildpackage failed; the whole log is $out/build.log"
    }
    in_out=(env -C "$out")
else
    # shellcheck source=scripts/lib/debian-root.sh
    source scripts/lib/debian-root.sh
    SCRATCH=$(mktemp -d)
    package_end() {
        debian_root_leave
        rm -rf --one-file-system "$SCRATCH"
    }
    trap package_end EXIT
    debian_root_make "$DEBIAN_ROOTS/$release-build" "$release" build-essential,debhelper,lintian
    debian_root_enter "$DEBIAN_ROOTS/$release-build" "$SCRATCH" "$release"
    debian_root_mount "$ENTERED/build" --bind "$PWD/$out"
    echo "Installing the build dependencies of debian/control in the $release root"
    {
        debian_root_run "$ENTERED" apt-get update -q &&
            debian_root_run "$ENTERED" apt-get build-dep -y -q "/build/quarvel-$version"
    } >"$out/build-dep.log" 2>&1 || {
        tail -n 30 "$out/build-dep.log" >&2
        die "apt-get build-dep failed in the $release root; the whole log is $out/build-dep.log"
    }
    echo "Building quarvel $version for $arch on $release in $source_dir${offline:+ (no network)}"
    "${offline[@]}" chroot "$ENTERED" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 sh -c "cd /build/quarvel-$version && ${build[*]}" >"$out/build.log" 2>&1 || {
        tail -n 60 "$out/build.log" >&2
        die "dpkg-buildpackage failed in the $release root; the whole log is $out/build.log"
    }
    in_out=(debian_root_run "$ENTERED" env -C /build)
fi
echo "  built in $(($(date +%s) - started)) s"
grep -E '^[0-9]+% tests passed|tests failed' "$out/build.log" || true

package=$out/quarvel_${version}_$arch.deb
[ -f "$package" ] || die "dpkg-buildpackage made no $package"
echo "Checking $package with lintian${release:+ of $release}"
"${in_out[@]}" "${lint[@]}" || die "lintian finds faults in the package (above)"
echo "Built $package:"
dpkg-deb --info "$package" | sed -n 's/^ \(Version\|Depends\|Recommends\|Installed-Size\):/  \1:/p'
