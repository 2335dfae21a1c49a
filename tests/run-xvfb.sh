#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run-xvfb.sh [--wm] TEST [ARGS...]
# Runs a test executable on a real X server of its own (Xvfb), with a US
# international keyboard so that dead keys and compose sequences exist, and
# with --wm under a window manager (openbox), since focus and activation
# differ with and without one.
set -euo pipefail
trap 'kill $(jobs -p) 2>/dev/null; wait' EXIT

# Xvfb picks a free display number and writes it once it listens.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" 2>/dev/null &
for _ in $(seq 200); do
    [ -s "$number" ] && break
    sleep 0.05
done
export DISPLAY=":$(tr -d '[:space:]' <"$number")" QT_QPA_PLATFORM=xcb
rm -f "$number"
[ "$DISPLAY" != ":" ] || { echo "run-xvfb: Xvfb did not start" >&2; exit 1; }
unset QT_IM_MODULE
setxkbmap -layout us -variant intl
if [ "${1:-}" = "--wm" ]; then
    shift
    openbox --sm-disable >/dev/null 2>&1 &
    # The window manager has taken over once it names itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
fi
"$@"
