#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the configuration program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestrix_install_missing "${KESTRIX_PACKAGES[@]}"
kestrix_build -DKESTRIX_BUILD_TESTS=OFF
exec "$KESTRIX_BUILD_DIR/kestrix-config" "$@"
