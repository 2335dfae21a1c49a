#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# program-options-test.sh KESTRIX_CONFIG
# What the window program answers on its command line. --help and --version
# need no display, as over ssh; anything else reaches the window system.
set -uo pipefail
program=$1
failed=0
passed=0

# display   | arguments     | status | output pattern
cases=(
    "none       | --help        | 0      | ^Usage: .*kestrix-config \\[options\\]"
    "none       | --help        | 0      | ^Instructions: (/.*Kestrix_Config\\.rtf|not found)$"
    "none       | -h            | 0      | -v, --version"
    "none       | --version     | 0      | ^kestrix-config [0-9]+\\.[0-9]+$"
    "none       | -v            | 0      | ^kestrix-config [0-9]+\\.[0-9]+$"
    "none       | -reverse -h   | 0      | ^Usage:"
    "offscreen  | --bogus       | 1      | Unknown option 'bogus'"
)
field() { sed -E 's/^ +| +$//g' <<<"$1"; }
for line in "${cases[@]}"; do
    IFS='|' read -r display arguments status pattern <<<"$line"
    display=$(field "$display") status=$(field "$status") pattern=$(field "$pattern")
    read -ra args <<<"$arguments"
    if [ "$display" = none ]; then
        output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "${args[@]}" 2>&1)
    else
        output=$(QT_QPA_PLATFORM=$display timeout 20 "$program" "${args[@]}" 2>&1)
    fi
    got=$?
    if [ "$got" -eq "$status" ] && grep -qE -- "$pattern" <<<"$output"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $line" >&2
        echo "  exit $got, output:" >&2
        echo "$output" | sed 's/^/    /' >&2
        failed=$((failed + 1))
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
