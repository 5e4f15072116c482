# Debian packages by name, for the scripts that install what the project needs.
# Source it; it defines:
#   apt_missing PACKAGE...          prints the packages not installed, one a line
#   apt_install_missing PACKAGE...  installs those with apt-get, non-interactively,
#                                   through sudo when not root; does nothing when
#                                   every package is there already
# shellcheck shell=bash

apt_missing() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$package"
        fi
    done
}

apt_install_missing() {
    local missing as_root=()
    mapfile -t missing < <(apt_missing "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        as_root=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
}
