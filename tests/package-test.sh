#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# package-test.sh BUILD_DIR
# Builds the Debian package from a build tree, checks its contents and
# dependencies, unpacks it into a folder of its own and starts the unpacked
# program there, which must find its help file in the unpacked data folder.
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
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    grep -q "$library" <<<"$depends" || fail "no dependency on $library: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in ./usr/bin/kestrix-config ./usr/bin/kestrix-send ./usr/bin/kestrix-box-sim \
    ./usr/share/applications/kestrix-config.desktop ./usr/share/pixmaps/kestrix-config.xpm \
    ./usr/share/kestrix-config/Kestrix_Config.rtf ./usr/share/man/man1/kestrix-send.1 \
    ./usr/share/man/man1/kestrix-box-sim.1 ./usr/share/doc/kestrix-config/README.md; do
    grep -qx "$file" <<<"$contents" || fail "$file is not in the package"
done
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
