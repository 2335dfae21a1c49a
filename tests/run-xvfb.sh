#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run-xvfb.sh [--wm] TEST [ARGS...]
# Runs a test executable on a real X server of its own (Xvfb), with a US
# international keyboard so that dead keys and compose sequences exist, and
# with --wm under a window manager (openbox), since focus and activation
# differ with and without one.
set -euo pipefail
wm=false
if [ "${1:-}" = "--wm" ]; then
    wm=true
    shift
fi

xvfb_pid=""
wm_pid=""
cleanup() {
    set +e
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    return 0
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it once it listens.
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
xvfb_pid=$!
number=""
for _ in $(seq 200); do
    number=$(tr -d '[:space:]' <"$number_file")
    [ -n "$number" ] && break
    sleep 0.05
done
rm -f "$number_file"
[ -n "$number" ] || { echo "run-xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"

setxkbmap -layout us -variant intl
if $wm; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
    # The window manager has taken over once it names itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
fi

export QT_QPA_PLATFORM=xcb
unset QT_IM_MODULE
"$@"
