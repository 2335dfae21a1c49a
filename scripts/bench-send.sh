#!/usr/bin/env bash
# Builds and runs the SEND timing benchmark on a socat pseudo-terminal pair.
# Usage: scripts/bench-send.sh [runs]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

kestrix_install_missing "${KESTRIX_PACKAGES[@]}"
kestrix_build -DKESTRIX_BUILD_TESTS=ON
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
QT_QPA_PLATFORM=offscreen "$KESTRIX_BUILD_DIR/bench/send_timing" "${1:-10}"
