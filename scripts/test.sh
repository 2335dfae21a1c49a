#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestrix_install_missing "${KESTRIX_PACKAGES[@]}"
kestrix_build -DKESTRIX_BUILD_TESTS=ON
cd "$KESTRIX_BUILD_DIR"
ctest --output-on-failure --timeout 300
