"""The client half of scripts/atspi-walk: finds the program on the AT-SPI bus,
prints its windows' trees, the focusable controls without a name and the Tab walk."""
import sys
import time

import pyatspi

TAB = 0xFF09  # the X keysym of Tab


def application(pid, wait=30):
    # The splash comes first; the main window follows about five seconds later.
    deadline = time.time() + wait
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                if any(w is not None and w.name and w.getRoleName() != "dialog" for w in app):
                    return app
        time.sleep(0.5)
    return None


def describe(node):
    states = node.getState()
    flags = [s for s, on in (("focusable", pyatspi.STATE_FOCUSABLE), ("focused", pyatspi.STATE_FOCUSED),
                             ("showing", pyatspi.STATE_SHOWING), ("enabled", pyatspi.STATE_ENABLED))
             if states.contains(on)]
    return "%s %r [%s]" % (node.getRoleName(), node.name, ",".join(flags))


def walk(node, depth, unnamed):
    states = node.getState()
    print("  " * depth + describe(node))
    if (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)
            and states.contains(pyatspi.STATE_ENABLED) and not (node.name or "").strip()):
        unnamed.append(node)
    # The cells of a grid are many and say nothing about the window's names.
    if node.getRoleName() in ("table", "tree table"):
        return
    for child in node:
        if child is not None:
            walk(child, depth + 1, unnamed)


def focused(app):
    found = []
    for window in app:
        if window is not None:
            collectfocused(window, found)
    # A page tab reports itself focused while it is the current tab, wherever
    # the focus is; any other focused control is the real one.
    others = [n for n in found if n.getRoleName() != "page tab"]
    return (others or found or [None])[0]


def collectfocused(node, found):
    if node.getState().contains(pyatspi.STATE_FOCUSED):
        found.append(node)
    if node.getRoleName() in ("table", "tree table"):
        return
    for child in node:
        if child is not None:
            collectfocused(child, found)


def main():
    app = application(int(sys.argv[1]))
    if app is None:
        names = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
        print("the program did not appear on the accessibility bus (there: %s)" % names, file=sys.stderr)
        return 1
    time.sleep(1)
    unnamed = []
    for window in app:
        if window is not None:
            walk(window, 0, unnamed)
    print()
    print("focusable without a name: %d" % len(unnamed))
    for node in unnamed:
        print("  " + describe(node))
    print()
    print("Tab walk:")
    start = focused(app)
    print("  " + (describe(start) if start else "(no focus)"))
    for _ in range(16):
        pyatspi.Registry.generateKeyboardEvent(TAB, None, pyatspi.KEY_SYM)
        time.sleep(0.3)
        now = focused(app)
        print("  " + (describe(now) if now else "(no focus)"))
    return 1 if unnamed else 0


sys.exit(main())
