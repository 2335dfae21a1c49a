#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# package-test.sh BUILD_DIR
# Builds the Debian package from a build tree and checks it against
# tests/data/package (its files, dependencies, and what its programs say
# when run unpacked in a folder of their own; the settings program must
# find its help file in the unpacked data folder). lintian judges it at the
# pedantic level.
set -euo pipefail
data=$(cd "$(dirname "$0")/data/package" && pwd)
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package-test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || fail "$(cat "$work/cpack.log")"
deb=$(ls "$work"/out/kestrix-config_*_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
while read -r package; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "no dependency on $package: $depends"
done <"$data/depends.txt"
# Each line of the long description starts with one space; more would show
# it verbatim.
! dpkg-deb --field "$deb" Description | tail -n +2 | grep -v '^ [^ ]' || fail "description lines above not indented by one space"
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
while read -r file; do
    grep -qx "$file" <<<"$contents" || fail "$file is not in the package"
done <"$data/contents.txt"
! grep -vE '^\./(usr/((bin|share)/.*)?)?$' <<<"$contents" || fail "files above are outside /usr/bin and /usr/share"

# Errors and warnings fail, and so do informational, pedantic and
# experimental notes: the package has none but the one it overrides.
# (lintian's --fail-on counts overridden notes too, hence the look at its
# output.)
command -v lintian >/dev/null || fail "lintian is not installed (scripts/setup.sh installs it)"
lintian -EviIL +pedantic --show-overrides "$deb" >"$work/lintian.log" 2>&1 || true
! grep -E '^[EWIPX]: ' "$work/lintian.log" || fail "lintian finds fault with the package"
grep -q "^O: " "$work/lintian.log" || fail "lintian did not apply the package's override"

dpkg -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/kestrix-config.desktop"
grep -q "^Name=Kestrix Config" "$work/root/usr/share/applications/kestrix-config.desktop" ||
    fail "the menu entry is not named Kestrix Config"
cd "$work" # without the help file, as from the desktop menu
while IFS='|' read -r command expected; do
    said=$(QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/"$command 2>&1) || fail "$command: $said"
    expected=${expected# }
    grep -qF -- "${expected//@/$work/root}" <<<"$said" || fail "$command does not say $expected: $said"
done <"$data/runs.txt"
echo "1 passed, 0 failed"
