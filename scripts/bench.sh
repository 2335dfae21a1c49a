#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the benchmarks; prints their figures and the machine.
#   scripts/bench.sh [send|startup|codec|rtf|all] [runs]
# send:    SEND on a pseudo-terminal (gaps between the writes)
# startup: time to the shown window and peak memory, against empty Qt windows
#          (under Xvfb when there is no display)
# codec:   encoding a frame, reading and writing a .cfg file (Google Benchmark)
# rtf:     the help window showing rich text of growing size
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

which=${1:-all}
runs=${2:-}
kestrix_install_missing "${KESTRIX_PACKAGES[@]}" xvfb xauth
kestrix_build -DKESTRIX_BUILD_TESTS=ON
bench="$KESTRIX_BUILD_DIR/bench"
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "$(free -g | awk '/Mem:/ {print $2}') GiB, $(. /etc/os-release && echo "$PRETTY_NAME")"

if [[ $which == send || $which == all ]]; then
    QT_QPA_PLATFORM=offscreen "$bench/send_timing" "${runs:-10}"
fi
if [[ $which == startup || $which == all ]]; then
    if [ -n "${DISPLAY:-}" ]; then
        "$bench/startup_bench" "${runs:-21}"
    else
        xvfb-run -a -s "-screen 0 1024x768x24" "$bench/startup_bench" "${runs:-21}"
    fi
fi
if [[ $which == codec || $which == all ]]; then
    "$bench/codec_bench"
fi
if [[ $which == rtf || $which == all ]]; then
    "$bench/rtf_bench"
fi
