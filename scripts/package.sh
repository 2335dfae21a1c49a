#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package kestrix-config_<version>_<arch>.deb into
# build-package/ and prints its path. Installs what is missing first.
#   scripts/package.sh                      build the package
#   scripts/package.sh --check-clean        then install it with apt on a fresh
#       minimal Debian 12 and try it as an ordinary user: the window under
#       Xvfb (a screenshot), the first Save with the preset name, --help
#       without a display
#   scripts/package.sh --check-fresh-tests  run scripts/test.sh in a fresh
#       clone of the committed sources on a fresh minimal Debian 12, as a
#       newcomer would, and report its time and result
# The checks make that system with debootstrap, so they need root (or sudo)
# and the network to the Debian mirror ($KESTRIX_MIRROR, by default
# http://deb.debian.org/debian). They take 5 to 20 minutes and are not part
# of CI. With KESTRIX_BUILD_LOCK=FILE each build holds that lock (flock), on
# a machine shared with other builds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

check=
case "${1:-}" in
    "") ;;
    --check-clean | --check-fresh-tests) check=${1#--check-} ;;
    *)
        echo "usage: $0 [--check-clean | --check-fresh-tests]" >&2
        exit 2
        ;;
esac

locked() {
    if [ -n "${KESTRIX_BUILD_LOCK:-}" ]; then
        flock "$KESTRIX_BUILD_LOCK" "$@"
    else
        "$@"
    fi
}
clean_system() {
    kestrix_install_missing debootstrap xvfb xdotool imagemagick git
    kestrix_as_root env KESTRIX_MIRROR="${KESTRIX_MIRROR:-}" \
        KESTRIX_BUILD_LOCK="${KESTRIX_BUILD_LOCK:-}" \
        "$KESTRIX_ROOT/scripts/clean-system.sh" "$@"
}

if [ "$check" = fresh-tests ]; then
    clean_system fresh-tests "$KESTRIX_ROOT" "$KESTRIX_ROOT/build-package"
    exit
fi
kestrix_install_missing "${KESTRIX_PACKAGES[@]}"

KESTRIX_BUILD_DIR="$KESTRIX_ROOT/build-package"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$KESTRIX_ROOT" -B "$KESTRIX_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DKESTRIX_BUILD_TESTS=OFF "${launcher[@]}" >&2
locked cmake --build "$KESTRIX_BUILD_DIR" --parallel "$(nproc)" >&2
rm -f "$KESTRIX_BUILD_DIR"/kestrix-config_*.deb
(cd "$KESTRIX_BUILD_DIR" && cpack -G DEB >&2)
deb=$(ls "$KESTRIX_BUILD_DIR"/kestrix-config_*.deb)
echo "$deb"
if [ "$check" = clean ]; then
    clean_system check-clean "$deb" "$KESTRIX_BUILD_DIR"
fi
