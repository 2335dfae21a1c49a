#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run-unprivileged.sh TEST [HELPER...] -- [ARGS...]
# Runs a test executable as an unprivileged user, for the cases that root
# would pass for the wrong reason (access rights, exclusive opens), and fails
# if any test was skipped or none ran. Helpers are copied beside it. Without
# root it runs the executable where it is.
set -euo pipefail
files=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    files+=("$1")
    shift
done
[ $# -gt 0 ] && shift
binary=${files[0]}

if [ "$(id -u)" -ne 0 ]; then
    run=("$binary" "$@")
    workdir=.
else
    # The build tree may sit in a folder the unprivileged user cannot enter.
    workdir=$(mktemp -d)
    trap 'rm -rf "$workdir"' EXIT
    cp "${files[@]}" "$workdir/"
    chmod -R a+rX "$workdir"
    chown nobody "$workdir"
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups
        env HOME="$workdir" TMPDIR="$workdir" QT_QPA_PLATFORM=offscreen
        "./$(basename "$binary")" "$@")
fi

status=0
output=$(cd "$workdir" && "${run[@]}" 2>&1) || status=$?
echo "$output"
[ "$status" -eq 0 ] || exit "$status"
if grep -q "SKIPPED" <<<"$output"; then
    echo "run-unprivileged: a test was skipped" >&2
    exit 1
fi
if ! grep -q -E "PASSED  \] [1-9]" <<<"$output"; then
    echo "run-unprivileged: no test ran" >&2
    exit 1
fi
