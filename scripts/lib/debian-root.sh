# Clean Debian roots for building and checking the package, made once with
# debootstrap --variant=minbase and kept under $QUARVEL_ROOTS (default
# /var/cache/quarvel-check-package). A run never changes a kept root: it works
# in a scratch layer (overlayfs) over it, thrown away afterwards. Source it
# (as root); it defines:
#   DEBIAN_ROOTS                     the folder of the kept roots
#   debian_root_make ROOT RELEASE PACKAGES
#                                    makes ROOT (a folder of DEBIAN_ROOTS) as a
#                                    minbase RELEASE with the comma-separated
#                                    PACKAGES, unless it exists; a root is moved
#                                    into place only once whole, so one left
#                                    half made is made again
#   debian_root_enter ROOT SCRATCH RELEASE
#                                    mounts ROOT read-only under a scratch layer
#                                    at SCRATCH/root with /proc, /dev and apt's
#                                    download cache (kept per RELEASE beside the
#                                    roots, so a later run downloads nothing
#                                    new), and sets ENTERED to SCRATCH/root
#   debian_root_mount TARGET MOUNT-ARGUMENTS...
#                                    mounts onto TARGET (made if missing)
#   debian_root_leave                unmounts all it mounted, newest first;
#                                    call it from the EXIT trap
#   debian_root_run ROOT COMMAND...  runs COMMAND in ROOT with a plain environment
# shellcheck shell=bash

DEBIAN_ROOTS=${QUARVEL_ROOTS:-/var/cache/quarvel-check-package}
DEBIAN_ROOT_MOUNTED=()

debian_root_fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

# The mirror of this machine's own apt sources (deb822 or one-line style).
debian_root_mirror() {
    local mirror
    mirror=$(awk '/^URIs:/ { print $2; exit } /^deb / { print $2; exit }' \
        /etc/apt/sources.list.d/* /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$mirror" ] || debian_root_fail "no Debian mirror found in this machine's apt sources"
    echo "$mirror"
}

debian_root_make() {
    local root=$1 release=$2 packages=$3 started mirror status list
    [ -d "$root" ] && return 0
    mirror=$(debian_root_mirror)
    IFS=, read -ra list <<<"$packages"
    started=$(date +%s)
    echo "Making the $release root $root (once; several minutes)"
    mkdir -p "$(dirname "$root")"
    rm -rf --one-file-system "$root.partial"
    # apt, not debootstrap, installs the packages: debootstrap's own resolver
    # does not follow virtual packages (trixie's lintian needs one through
    # libnet-ssleay-perl) and leaves such packages unconfigured.
    status=0
    {
        debootstrap --variant=minbase "$release" "$root.partial" "$mirror" &&
            mount -t proc proc "$root.partial/proc" && mount --bind /dev "$root.partial/dev" &&
            debian_root_run "$root.partial" apt-get install -y -q --no-install-recommends "${list[@]}"
    } >"$root.log" 2>&1 || status=$?
    umount "$root.partial/dev" "$root.partial/proc" 2>/dev/null || true
    [ "$status" = 0 ] || debian_root_fail "making the $release root failed; see $root.log"
    mv "$root.partial" "$root"
    echo "  made in $(($(date +%s) - started)) s"
}

debian_root_mount() {
    local target=$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    DEBIAN_ROOT_MOUNTED+=("$target")
}

debian_root_enter() {
    local root=$1 scratch=$2 release=$3
    local archives=$DEBIAN_ROOTS/$release-archives
    mkdir -p "$scratch/upper" "$scratch/work" "$archives/partial"
    ENTERED=$scratch/root
    debian_root_mount "$ENTERED" -t overlay overlay \
        -o "lowerdir=$root,upperdir=$scratch/upper,workdir=$scratch/work"
    debian_root_mount "$ENTERED/proc" -t proc proc
    debian_root_mount "$ENTERED/dev" --bind /dev
    debian_root_mount "$ENTERED/var/cache/apt/archives" --bind "$archives"
}

debian_root_leave() {
    local i
    for ((i = ${#DEBIAN_ROOT_MOUNTED[@]} - 1; i >= 0; i--)); do
        umount "${DEBIAN_ROOT_MOUNTED[$i]}" 2>/dev/null ||
            umount -l "${DEBIAN_ROOT_MOUNTED[$i]}" 2>/dev/null || true
    done
    DEBIAN_ROOT_MOUNTED=()
}

debian_root_run() {
    local root=$1
    shift
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}
