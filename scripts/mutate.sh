#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures what the tests catch: applies each small fault of
# tests/mutants/mutants.txt on its own to a copy of the tracked sources,
# rebuilds incrementally, runs ctest (stopping at the first failure) and
# prints caught or missed, then the score. Not part of CI; takes one to
# two hours on two cores.
#   scripts/mutate.sh [PATTERN]   only the faults whose line matches PATTERN
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
kestrix_install_missing "${KESTRIX_PACKAGES[@]}"

pattern=${1:-}
list="$KESTRIX_ROOT/tests/mutants/mutants.txt"
work="$KESTRIX_ROOT/build-mutate"
src="$work/src"
build="$work/build"
rm -rf "$src"
mkdir -p "$src"
# The tracked files as they stand in the work tree, uncommitted edits too.
# Extracted as new (-m): a kept object file must never look newer than its
# source, or a test edited since the last run would run as it was.
(cd "$KESTRIX_ROOT" && git ls-files -z | tar --null -T - -cf -) | tar -xmf - -C "$src"

# No debug information and the gold linker: each fault relinks most programs.
# With ccache, the file put back after each fault costs nothing to rebuild.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTRIX_BUILD_TESTS=ON \
    -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
# In the order they are declared, quick unit tests first: ctest would
# otherwise start the slowest first, and a fault the unit tests catch at
# once would wait for them.
run_tests() {
    rm -f "$build/Testing/Temporary/CTestCostData.txt"
    (cd "$build" && ctest --stop-on-failure --timeout 300 -j "$(nproc)" -E package_tests \
        >"$work/last.log" 2>&1)
}
# The tests that failed in the last run: a fault caught only by a timing
# test on a busy machine is worth trying again alone.
failed_tests() {
    sed -n 's/^\s*[0-9]* - \(.*\) (.*)$/\1/p' "$work/last.log" | paste -sd, -
}
if ! (cd "$build" && ctest --timeout 300 -j "$(nproc)" -E package_tests >"$work/clean.log" 2>&1); then
    echo "mutate: the tests fail without any fault; see $work/clean.log" >&2
    exit 1
fi

# apply FILE ORIGINAL MUTATED: replaces the one place ORIGINAL stands.
apply() {
    python3 - "$@" <<'PY'
import sys
path, original, mutated = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
if text.count(original) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(original, mutated))
PY
}

caught=0
missed=0
invalid=0
missed_list=()
while IFS= read -r line; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    [[ -n "$pattern" && ! "$line" =~ $pattern ]] && continue
    file=${line%% @@ *}
    rest=${line#* @@ }
    original=${rest%% @@ *}
    rest=${rest#* @@ }
    mutated=${rest%% @@ *}
    what=${rest#* @@ }
    target="$src/$file"
    cp "$target" "$work/saved"
    if ! apply "$target" "$original" "$mutated"; then
        echo "invalid  $file: not found once: $original"
        invalid=$((invalid + 1))
        continue
    fi
    if ! cmake --build "$build" --parallel "$(nproc)" >/dev/null 2>&1; then
        echo "invalid  $file: does not build: $what"
        invalid=$((invalid + 1))
    elif run_tests; then
        echo "MISSED   $file: $what"
        missed=$((missed + 1))
        missed_list+=("$file: $what")
    else
        echo "caught   $file: $what (by $(failed_tests))"
        caught=$((caught + 1))
    fi
    cp "$work/saved" "$target"
    touch "$target"
done <"$list"
cmake --build "$build" --parallel "$(nproc)" >/dev/null 2>&1 || true

total=$((caught + missed))
echo
echo "caught $caught of $total faults ($(( total > 0 ? 100 * caught / total : 0 ))%), $invalid invalid"
for m in "${missed_list[@]}"; do
    echo "  missed: $m"
done
