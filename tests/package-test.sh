#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# package-test.sh BUILD_DIR
# Builds the Debian package from a build tree, checks its contents,
# dependencies and description, has lintian judge it at the pedantic level,
# unpacks it into a folder of its own and starts the unpacked program there,
# which must find its help file in the unpacked data folder.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/out/kestrix-config_*_*.deb)
echo "built $(basename "$deb")"
fail() {
    echo "package-test: $*" >&2
    exit 1
}

info=$(dpkg-deb --info "$deb")
grep -q "^ Package: kestrix-config$" <<<"$info" || fail "wrong package name"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for package in fonts-liberation libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "no dependency on $package: $depends"
done
# Each line of the long description starts with one space; more would show
# it verbatim.
uneven=$(dpkg-deb --field "$deb" Description | tail -n +2 | grep -v '^ [^ ]' || true)
[ -z "$uneven" ] || fail "description lines not indented by one space: $uneven"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
doc=./usr/share/doc/kestrix-config
icons=./usr/share/icons/hicolor
for file in ./usr/bin/kestrix-config ./usr/bin/kestrix-send ./usr/bin/kestrix-box-sim \
    ./usr/share/applications/kestrix-config.desktop ./usr/share/pixmaps/kestrix-config.xpm \
    $icons/scalable/apps/kestrix-config.svg $icons/48x48/apps/kestrix-config.png \
    $icons/256x256/apps/kestrix-config.png ./usr/share/kestrix-config/Kestrix_Config.rtf \
    ./usr/share/man/man1/kestrix-config.1.gz ./usr/share/man/man1/kestrix-send.1.gz \
    ./usr/share/man/man1/kestrix-box-sim.1.gz $doc/README.md.gz $doc/docs/setup-window.png \
    $doc/copyright $doc/changelog.gz ./usr/share/lintian/overrides/kestrix-config; do
    grep -qx "$file" <<<"$contents" || fail "$file is not in the package"
done

# Errors and warnings fail, and so do informational, pedantic and
# experimental notes (hardening, stripping, manual pages): the package has
# none but the one it overrides. (lintian's --fail-on counts overridden
# notes too, hence the look at its output.)
command -v lintian >/dev/null || fail "lintian is not installed (scripts/setup.sh installs it)"
lintian -EviIL +pedantic --show-overrides --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &&
    ! grep -qE '^[EWIPX]: ' "$work/lintian.log" || {
    cat "$work/lintian.log"
    fail "lintian finds fault with the package"
}
grep -q "^O: " "$work/lintian.log" || fail "lintian did not apply the package's override"
outside=$(grep -v -E '^\./(usr/((bin|share)/.*)?)?$' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr/bin and /usr/share: $outside"

root="$work/root"
dpkg -x "$deb" "$root"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/kestrix-config.desktop"
fi
grep -q "^Name=Kestrix Config" "$root/usr/share/applications/kestrix-config.desktop" ||
    fail "the menu entry is not named Kestrix Config"
# From a folder without the help file, as from the desktop menu.
cd "$work"
shown=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/kestrix-config" --help)
grep -qF "Instructions: $root/usr/share/kestrix-config/Kestrix_Config.rtf" <<<"$shown" ||
    fail "the unpacked program does not find its help file: $shown"
"$root/usr/bin/kestrix-send" --help | grep -q -- "--list-ports" || fail "kestrix-send does not run"
"$root/usr/bin/kestrix-box-sim" --help | grep -q -- "--count" || fail "kestrix-box-sim does not run"
echo "1 passed, 0 failed"
