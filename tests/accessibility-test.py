#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# accessibility-test.py PROBE TABLE
# Starts PROBE, which shows the program's windows, and walks what a screen
# reader sees of them through AT-SPI. TABLE says which windows must show and
# in which role, the role and name of every control in them that takes the
# focus, and which of the probe's changes the screen reader must be told of.
# Fails too on a name that holds a line break or an arrow drawn in text, and
# on two controls of a window whose names sound the same. Needs a session
# bus with the AT-SPI registry and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.

import collections
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Controls named as a whole; their entries and cells are read by their text.
ITEM_HOLDERS = {"list", "list box", "table", "tree table", "tree", "combo box", "menu"}


def read_table(path):
    windows, told, window = {}, [], None
    for line in open(path, encoding="utf-8"):
        verb, _, rest = line.strip().partition(" ")
        if verb == "told":
            told.append(tuple(rest.split(" | ")))
        elif verb == "window":
            window = windows.setdefault(tuple(rest.split(" | ")), [])
        elif verb and not verb.startswith("#"):
            window.append(tuple(line.strip().split(" | ")))
    return windows, told


def walk(node):
    yield node
    if node.getRoleName() not in ITEM_HOLDERS:
        for child in node:
            if child is not None:
                yield from walk(child)


def check_window(window, expected):
    faults, found = [], []
    for node in walk(window):
        name, role, state = node.name or "", node.getRoleName(), node.getState()
        if re.search(r"[\r\n]|-->", name):
            faults.append(f"{role} {name!r}: a line break or an arrow in its name")
        # A hidden control is out of the listener's reach, as of the eye's.
        if node is not window and all(map(state.contains, (pyatspi.STATE_FOCUSABLE,
                                                           pyatspi.STATE_VISIBLE))):
            found.append((role, name))
    for role, name in (collections.Counter(expected) - collections.Counter(found)).elements():
        faults.append(f"no {role} {name!r}")
    for role, name in (collections.Counter(found) - collections.Counter(expected)).elements():
        faults.append(f"a {role} {name!r}, not in the table")
    if len({re.sub(r"[^0-9a-z]", "", name.lower()) for _, name in found}) < len(found):
        faults.append("two controls whose names sound the same")
    return faults


def untold_changes(probe, told):
    heard = set()
    pyatspi.Registry.registerEventListener(
        lambda event: heard.add((event.type, event.source.name if event.source else "")),
        *sorted({kind for kind, _ in told}))
    GLib.timeout_add(500, lambda: probe.stdin.write("change\n") and probe.stdin.flush())
    GLib.timeout_add(4000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    return [f"not told: {kind} of {name!r}" for kind, name in told if (kind, name) not in heard]


def main():
    windows, told = read_table(sys.argv[2])
    probe = subprocess.Popen(sys.argv[1], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        apps = []
        for _ in range(100 if probe.stdout.readline().strip() == "ready" else 0):
            apps = [a for a in pyatspi.Registry.getDesktop(0)
                    if a is not None and a.name == os.path.basename(sys.argv[1])]
            if apps:
                break
            time.sleep(0.2)
        if not apps:
            print("FAIL the probe did not start, or is not on the accessibility bus")
            return 1
        shown = [w for w in apps[0] if w is not None]
        faults = []
        for (role, title), controls in windows.items():
            found = [w for w in shown if w.name == title]
            if not found:
                faults.append(f"no window {title!r} among {[w.name for w in shown]}")
                continue
            if found[0].getRoleName() != role:
                faults.append(f"{title}: a {found[0].getRoleName()}, not a {role}")
            faults += [f"{title}: {fault}" for fault in check_window(found[0], controls)]
        faults += untold_changes(probe, told)
        print("".join(f"FAIL {fault}\n" for fault in faults), end="")
        return 1 if faults else 0
    finally:
        probe.terminate()
        probe.wait(10)


if __name__ == "__main__":
    sys.exit(main())
