#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tries the project on a fresh minimal Debian 12 that debootstrap makes in a
# temporary folder, removed afterwards. Run as root by scripts/package.sh:
#   clean-system.sh check-clean DEB OUTDIR   install DEB with apt alone, then
#       use it as an ordinary user: --help without a display, the window
#       under Xvfb, Save with the preset name (screenshots go to OUTDIR)
#   clean-system.sh fresh-tests REPO OUTDIR  clone REPO's committed sources
#       and run scripts/test.sh as root, as a newcomer would (log in OUTDIR)
# Needs the network to $KESTRIX_MIRROR (http://deb.debian.org/debian).
set -euo pipefail

mirror=${KESTRIX_MIRROR:-http://deb.debian.org/debian}
command=${1:-}
case "$command" in
    check-clean | fresh-tests) [ $# -eq 3 ] || command= ;;
esac
if [ -z "$command" ]; then
    echo "usage: $0 check-clean DEB OUTDIR | fresh-tests REPO OUTDIR" >&2
    exit 2
fi
[ "$(id -u)" -eq 0 ] || {
    echo "$0: debootstrap and chroot need root" >&2
    exit 2
}
out=$(mkdir -p "$3" && cd "$3" && pwd)

work=$(mktemp -d "${TMPDIR:-/var/tmp}/kestrix-clean.XXXXXX")
root="$work/root"
mounts=()
pids=()
cleanup() {
    local status=$? pid proc i
    set +e
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    # Anything still running inside the system was started by us there.
    for proc in /proc/[0-9]*; do
        if [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ]; then
            kill "${proc#/proc/}" 2>/dev/null || true
        fi
    done
    sleep 1
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true
    done
    if grep -qF " $root/" /proc/self/mountinfo; then
        echo "clean-system: $root still has mounts; left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

step() { printf '\n== %s\n' "$*"; }
elapsed() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# The fresh system with /proc, /dev, /dev/pts and /sys of the host; the
# mounts are private, so nothing mounted here reaches the host's tree.
make_system() {
    local start=$SECONDS dir
    step "A fresh minimal Debian 12: debootstrap --variant=minbase bookworm $mirror"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
        tail -20 "$work/debootstrap.log"
        echo "debootstrap failed: is $mirror reachable?" >&2
        exit 1
    }
    echo "made in $(elapsed $((SECONDS - start))), $(chroot "$root" dpkg-query -f '.\n' -W | wc -l) packages"
    for dir in proc dev dev/pts sys; do
        mount --bind "/$dir" "$root/$dir"
        mounts+=("$root/$dir")
        mount --make-private "$root/$dir"
    done
    cp -L /etc/resolv.conf "$root/etc/resolv.conf"
    # No service starts inside the chroot.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod +x "$root/usr/sbin/policy-rc.d"
}

in_system() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        HOME=/root DEBIAN_FRONTEND=noninteractive "$@"
}
# As the ordinary user made for the check, with no display unless given.
as_user() {
    chroot "$root" /usr/bin/setpriv --reuid=ham --regid=ham --init-groups \
        /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME=/home/ham USER=ham LOGNAME=ham "$@"
}

check_clean() {
    local deb=$1 start before wid dialog shown file status failed=()
    make_system

    step "apt-get install ./$(basename "$deb") (apt alone, nothing else installed)"
    start=$SECONDS
    cp "$deb" "$root/tmp/"
    before=$(in_system dpkg-query -f '.\n' -W | wc -l)
    in_system apt-get update -qq
    in_system sh -c "cd /tmp && apt-get install -y -q ./$(basename "$deb")" \
        >"$out/check-clean-apt.log" 2>&1 || {
        tail -20 "$out/check-clean-apt.log"
        exit 1
    }
    echo "installed with $(($(in_system dpkg-query -f '.\n' -W | wc -l) - before)) packages" \
        "in $(elapsed $((SECONDS - start)))"
    in_system dpkg-query -W kestrix-config fonts-liberation
    in_system useradd --create-home --shell /bin/bash ham
    echo "ordinary user: ham (not in dialout)"

    step "kestrix-config --help as ham, without a display"
    status=0
    shown=$(as_user kestrix-config --help 2>&1) || status=$?
    echo "exit status $status"
    sed 's/^/  | /' <<<"$shown"
    [ "$status" -eq 0 ] && grep -q "^Instructions: /usr/share/kestrix-config/" <<<"$shown" ||
        failed+=("--help without a display")

    step "kestrix-config as ham under Xvfb (no window manager)"
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    exec 3>&-
    for _ in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
    # The display's socket is in the abstract namespace, which the chroot shares.
    as_user DISPLAY="$DISPLAY" kestrix-config >"$out/check-clean-window.log" 2>&1 &
    pids+=($!)
    wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kestrix Config" | head -1) || {
        echo "no window within 30 s; its output:"
        cat "$out/check-clean-window.log"
        exit 1
    }
    sleep 2
    import -display "$DISPLAY" -window "$wid" "$out/check-clean-window.png"
    echo "shown: \"$(xdotool getwindowname "$wid")\"," \
        "$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p') pixels"
    echo "screenshot: $out/check-clean-window.png"

    step "Save, then Return in the file dialog (the preset name)"
    # The Save button's centre: the command frame at (4, 267), the button at
    # (104, 19) in it, 57 by 25 pixels.
    touch "$work/before-save"
    xdotool mousemove --window "$wid" 136 298 click 1
    dialog=$(timeout 15 xdotool search --sync --onlyvisible --name "^Salva File$" | head -1) || {
        echo "no Save dialog within 15 s"
        exit 1
    }
    sleep 1
    import -display "$DISPLAY" -window "$dialog" "$out/check-clean-save-dialog.png"
    echo "dialog \"Salva File\" shown: $out/check-clean-save-dialog.png"
    xdotool windowfocus --sync "$dialog" key Return
    sleep 2
    import -display "$DISPLAY" -window root "$out/check-clean-after-save.png"
    echo "windows now: $(xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do
        printf '"%s" ' "$(xdotool getwindowname "$w")"
    done)"
    echo "screen after Save: $out/check-clean-after-save.png"
    file=$(cd "$root" && find home tmp root usr/bin -name '*.cfg' -newer "$work/before-save" \
        2>/dev/null | head -5)
    if [ -n "$file" ]; then
        while read -r f; do
            # The owner's name as the fresh system knows it, not the host.
            echo "saved: /$f ($(stat -c %s "$root/$f") bytes, owner $(chroot "$root" stat -c %U "/$f"))"
        done <<<"$file"
    else
        echo "saved: no .cfg file anywhere in /home, /tmp, /root or /usr/bin"
        failed+=("Save with the preset name")
    fi
    tail -5 "$out/check-clean-window.log" | sed 's/^/  stderr | /'

    if [ ${#failed[@]} -gt 0 ]; then
        shown=$(printf '%s; ' "${failed[@]}")
        step "FAILED: ${shown%; }"
        return 1
    fi
    step "Passed: installed with apt alone, --help without a display, the window, Save"
}

fresh_tests() {
    local repo=$1 commit status start end
    make_system
    commit=$(git -C "$repo" rev-parse HEAD)
    step "A fresh clone of $commit in /root/kestrix-config; scripts/test.sh as root"
    git clone -q "$repo" "$root/root/kestrix-config"
    git -C "$root/root/kestrix-config" checkout -q --detach "$commit"
    status=0
    # Timed inside, so that a wait for the build lock does not count.
    ${KESTRIX_BUILD_LOCK:+flock "$KESTRIX_BUILD_LOCK"} \
        chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        HOME=/root TERM=dumb bash -c 'cd /root/kestrix-config && echo "started $(date +%s)" &&
            scripts/test.sh; status=$?; echo "ended $(date +%s)"; exit $status' \
        >"$out/fresh-tests.log" 2>&1 || status=$?
    start=$(sed -n 's/^started //p' "$out/fresh-tests.log")
    end=$(sed -n 's/^ended //p' "$out/fresh-tests.log")
    echo "scripts/test.sh: exit status $status after $(elapsed $((${end:-0} - ${start:-0})))" \
        "(installing what is missing, building, testing)"
    grep -E '^Installing:|tests passed|tests failed|\(Failed\)|\*\*\*|Total Test time' \
        "$out/fresh-tests.log" | sed 's/^/  | /' | cut -c1-200
    echo "log: $out/fresh-tests.log"
    return "$status"
}

case "$command" in
    check-clean) check_clean "$(cd "$(dirname "$2")" && pwd)/$(basename "$2")" ;;
    fresh-tests) fresh_tests "$2" ;;
esac
