#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package kestrix-config_<version>_<arch>.deb into
# build-package/ and prints its path. Installs what is missing first.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestrix_install_missing "${KESTRIX_PACKAGES[@]}" dpkg-dev
KESTRIX_BUILD_DIR="$KESTRIX_ROOT/build-package"
cmake -S "$KESTRIX_ROOT" -B "$KESTRIX_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DKESTRIX_BUILD_TESTS=OFF
cmake --build "$KESTRIX_BUILD_DIR" --parallel "$(nproc)"
cd "$KESTRIX_BUILD_DIR"
cpack -G DEB >&2
ls "$KESTRIX_BUILD_DIR"/kestrix-config_*.deb
