#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""accessibility-test.py PROBE

Starts PROBE, which shows the program's windows, and walks what a screen
reader sees of them through AT-SPI. Fails on a window missing or in the
wrong role, on a control that takes the focus but has no name, on two such
controls in one window whose names sound the same, and on a name that holds
a line break or an arrow drawn in text. Then has the probe switch a section
and send again, and fails on a change that the screen reader is not told
of. Needs a session bus with the AT-SPI registry and
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1."""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# The windows the probe shows: role and title.
WINDOWS = [
    ("frame", "Kestrix Config v6.DX by Maroth"),
    ("dialog", "Serial device for COM1"),
    ("dialog", "Kestrix Config v6.DX"),
]

# Names no listener can make sense of.
BAD_NAME = re.compile(r"[\r\n]|-->")

# What the probe changes, and the event and name of the object that tells it:
# the frequency ranges switched on with 6 rows, then the count set to 2, then
# a send.
CHANGES = [
    ("object:state-changed:enabled", "Range 1 from, MHz"),
    ("object:state-changed:enabled", "Range 6 to, MHz"),
    ("object:property-change:accessible-name", "Frequency Ranges - ON"),
    ("object:property-change:accessible-name",
     "Data sent ! Be shure that the word 'OK!' appears on Kestrix's LCD"),
]

# Controls named as a whole; their entries and cells are read by their text.
ITEM_HOLDERS = {"list", "list box", "table", "tree table", "tree", "combo box", "menu"}


def spoken(name):
    """What a listener tells apart: letters and digits, any case."""
    return re.sub(r"[^0-9a-z]", "", name.lower())


def walk(node):
    yield node
    if node.getRoleName() in ITEM_HOLDERS:
        return
    for child in node:
        if child is not None:
            yield from walk(child)


def find_application(name, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def check_window(window):
    faults = []
    controls = {}
    for node in walk(window):
        name = node.name or ""
        role = node.getRoleName()
        if BAD_NAME.search(name):
            faults.append(f"{role} {name!r}: a line break or an arrow in its name")
        state = node.getState()
        # A hidden control is out of the listener's reach, as of the eye's.
        if (node is window or not state.contains(pyatspi.STATE_FOCUSABLE)
                or not state.contains(pyatspi.STATE_VISIBLE)):
            continue
        print(f"    {role}: {name!r}")
        if not name.strip():
            faults.append(f"{role} without a name")
        elif spoken(name) in controls:
            faults.append(f"{role} {name!r} sounds as {controls[spoken(name)]!r}")
        else:
            controls[spoken(name)] = name
    return faults


def untold_changes(probe):
    heard = set()

    def hear(event):
        heard.add((event.type, event.source.name if event.source else ""))

    kinds = sorted({kind for kind, _ in CHANGES})
    pyatspi.Registry.registerEventListener(hear, *kinds)
    GLib.timeout_add(500, lambda: probe.stdin.write("change\n") and probe.stdin.flush())
    GLib.timeout_add(4000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    return [f"not told: {kind} of {name!r}" for kind, name in CHANGES if (kind, name) not in heard]


def main():
    probe = subprocess.Popen([sys.argv[1]], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             text=True)
    try:
        if probe.stdout.readline().strip() != "ready":
            print("the probe did not start")
            return 1
        app = find_application(os.path.basename(sys.argv[1]))
        if app is None:
            print("the probe is not on the accessibility bus")
            return 1
        shown = [(w.getRoleName(), w.name, w) for w in app if w is not None]
        faults = []
        for role, title in WINDOWS:
            found = [(r, w) for r, n, w in shown if n == title and r in (role, "filler")]
            if not found:
                faults.append(f"no window {title!r} among {[(r, n) for r, n, _ in shown]}")
                continue
            shown_as, window = found[0]
            print(f"{shown_as} {title!r}")
            if shown_as != role:
                faults.append(f"{title}: a {shown_as}, not a {role}")
            faults += [f"{title}: {fault}" for fault in check_window(window)]
        faults += untold_changes(probe)
        for fault in faults:
            print("FAIL " + fault)
        return 1 if faults else 0
    finally:
        probe.terminate()
        probe.wait(10)


if __name__ == "__main__":
    sys.exit(main())
