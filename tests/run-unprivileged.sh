#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run-unprivileged.sh TEST [ARGS...]
# Runs a test executable as an unprivileged user, for the cases that root
# would pass for the wrong reason (access rights, exclusive opens), and fails
# if any test was skipped or none ran. Without root it runs the executable
# where it is.
set -euo pipefail
run=("$@")
workdir=.
if [ "$(id -u)" -eq 0 ]; then
    # The build tree may sit in a folder the unprivileged user cannot enter.
    workdir=$(mktemp -d)
    trap 'rm -rf "$workdir"' EXIT
    cp -r "$1" "$(dirname "$0")/cases" "$workdir/" # the case tables too
    chmod -R a+rX "$workdir"
    chown nobody "$workdir"
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$workdir"
        TMPDIR="$workdir" KESTRIX_TESTS="$workdir" QT_QPA_PLATFORM=offscreen "./${1##*/}" "${@:2}")
fi
output=$(cd "$workdir" && "${run[@]}" 2>&1) || { echo "$output"; exit 1; }
echo "$output"
! grep -q "SKIPPED" <<<"$output" || { echo "run-unprivileged: a test was skipped" >&2; exit 1; }
grep -qE "PASSED  \] [1-9]" <<<"$output" || { echo "run-unprivileged: no test ran" >&2; exit 1; }
