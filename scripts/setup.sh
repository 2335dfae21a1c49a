# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: installs what a fresh Debian 12 machine lacks
# and configures and builds the project into build/ (or $KESTRIX_BUILD_DIR).
# Sourced, not run.

KESTRIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KESTRIX_BUILD_DIR=${KESTRIX_BUILD_DIR:-$KESTRIX_ROOT/build}

KESTRIX_PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-serialport-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb openbox xdotool x11-xkb-utils x11-utils
    dbus at-spi2-core python3-pyatspi
    dpkg-dev file desktop-file-utils lintian
)

kestrix_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

kestrix_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        kestrix_as_root apt-get update -qq
        kestrix_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
    fi
}

kestrix_build() {
    cmake -S "$KESTRIX_ROOT" -B "$KESTRIX_BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$KESTRIX_BUILD_DIR" --parallel "$(nproc)"
}
