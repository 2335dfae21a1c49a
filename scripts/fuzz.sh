#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one libFuzzer target for a bounded time: scripts/fuzz.sh rtf|cfg [SECONDS]
# Builds with clang into build-fuzz/, starts from the committed seed corpus
# and keeps what it finds in build-fuzz/corpus-TARGET/. A crash leaves its
# input in build-fuzz/ and makes the script fail.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

target=${1:-}
seconds=${2:-300}
case "$target" in
    rtf | cfg) ;;
    *)
        echo "usage: $0 rtf|cfg [SECONDS]" >&2
        exit 2
        ;;
esac

kestrix_install_missing "${KESTRIX_PACKAGES[@]}" clang
build="$KESTRIX_ROOT/build-fuzz"
cmake -S "$KESTRIX_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKESTRIX_FUZZ=ON -DKESTRIX_BUILD_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)" --target "${target}_fuzzer"

corpus="$build/corpus-$target"
mkdir -p "$corpus"
cd "$build"
seeds=("$KESTRIX_ROOT/tests/fuzz/corpus/$target")
[ "$target" = rtf ] && seeds+=("$KESTRIX_ROOT/tests/data/rtf")
# No input may take two seconds: the help window must not freeze.
tests/fuzz/"${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=2 \
    -rss_limit_mb=2048 "$corpus" "${seeds[@]}"
