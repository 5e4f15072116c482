# The Debian 13 root with Scribus 1.6.3 that the Scribus 1.6 checks run in
# (made once as the README says). Source it; it defines:
#   scribus_root_open ROOT       checks that ROOT holds Scribus and that this runs
#                                as root (else ends with a message), sets ROOT to
#                                its full path, and mounts /proc and /dev into it
#   scribus_root_mount TARGET MOUNT-ARGUMENTS...
#                                mounts onto TARGET unless something is mounted there
#   scribus_root_close           unmounts all it mounted, newest first, and removes
#                                the mount points it made; call it from the EXIT trap
# shellcheck shell=bash

SCRIBUS_ROOT_MOUNTED=()
SCRIBUS_ROOT_MADE=()

scribus_root_open() {
    local name
    name=$(basename "$0")
    ROOT=$(realpath "$1")
    if [ ! -x "$ROOT/usr/bin/scribus" ]; then
        echo "$name: $ROOT holds no Scribus (see the README for making the root)" >&2
        exit 1
    fi
    if [ "$(id -u)" != 0 ]; then
        echo "$name: run as root: the check mounts folders into $ROOT and chroots there" >&2
        exit 1
    fi
    scribus_root_mount "$ROOT/proc" -t proc proc
    scribus_root_mount "$ROOT/dev" --bind /dev
}

scribus_root_mount() {
    local target=$1
    shift
    if [ ! -d "$target" ]; then
        mkdir -p "$target"
        SCRIBUS_ROOT_MADE+=("$target")
    fi
    if ! mountpoint -q "$target"; then
        mount "$@" "$target"
        SCRIBUS_ROOT_MOUNTED+=("$target")
    fi
}

scribus_root_close() {
    local i
    for ((i = ${#SCRIBUS_ROOT_MOUNTED[@]} - 1; i >= 0; i--)); do
        umount "${SCRIBUS_ROOT_MOUNTED[$i]}" 2>/dev/null || true
    done
    # Only the folders made here: the root's own /proc and /dev stay.
    for ((i = ${#SCRIBUS_ROOT_MADE[@]} - 1; i >= 0; i--)); do
        rmdir "${SCRIBUS_ROOT_MADE[$i]}" 2>/dev/null || true
    done
}
