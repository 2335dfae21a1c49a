#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each folder includes only from the folders below it. The order, bottom up:
# settings, config_files, serial, runtime and resources, help, window, tools
# (and main.cpp). The programs given as arguments are console tools: they
# must not load the widget or GUI libraries.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
declare -A ranks=([settings]=0 [config_files]=1 [serial]=2 [runtime]=3 [resources]=3 [help]=4
    [window]=5)
rank() { echo "${ranks[${1%%/*}]:-6}"; }
declare -A where
sources=$(find settings config_files serial runtime resources help window tools main.cpp \
    -name '*.cpp' -o -name '*.h' | sort)
for file in $sources; do
    where[${file##*/}]=$file
done
status=0
for source in $sources; do
    for header in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$source"); do
        found=${where[$header]:-}
        if [ -n "$found" ] && [ "$(rank "$found")" -gt "$(rank "$source")" ]; then
            echo "$source includes $found, from a folder above it"
            status=1
        fi
    done
done
for program in "$@"; do
    ! ldd "$program" | grep -E 'libQt6(Widgets|Gui)' || { echo "$program loads a widget library"; status=1; }
done
exit $status
