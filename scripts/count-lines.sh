#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Test code against code, in non-blank, non-comment lines of tracked files.
# Code: the C++ outside tests/ and bench/. Test code: every file under
# tests/ that runs or scripts a test (C++, shell, Python, CMake, scenario
# files and case tables); the samples and expected outputs in tests/data/,
# the fuzz corpus and the mutants list are data and not counted.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
count() { grep -hv -e '^\s*$' -e '^\s*//' -e '^\s*#' -e '^\s*/\?\*' "$@" | wc -l; }
mapfile -t code < <(git ls-files '*.cpp' '*.h' ':!tests/' ':!bench/')
mapfile -t tests < <(git ls-files tests ':!tests/data/' ':!tests/fuzz/corpus/' \
    ':!tests/mutants/' ':!*.supp')
c=$(count "${code[@]}")
t=$(count "${tests[@]}")
echo "code $c lines, test code $t lines: $((100 * t / c)) % (at most 33 %)"
