#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh             the normal build, in build/
#   scripts/test.sh --sanitize  every test under AddressSanitizer and
#                               UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

options=(-DKESTRIX_BUILD_TESTS=ON)
case "${1:-}" in
    "") ;;
    --sanitize)
        KESTRIX_BUILD_DIR="$KESTRIX_ROOT/build-sanitize"
        options+=(-DKESTRIX_SANITIZE=ON)
        export ASAN_OPTIONS="detect_stack_use_after_return=1:strict_string_checks=1"
        export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
        ;;
    *)
        echo "usage: $0 [--sanitize]" >&2
        exit 2
        ;;
esac

kestrix_install_missing "${KESTRIX_PACKAGES[@]}"
kestrix_build "${options[@]}"
cd "$KESTRIX_BUILD_DIR"
ctest --output-on-failure --timeout 300
