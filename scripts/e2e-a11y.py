#!/usr/bin/python3
"""Finds controls of the running Plavesk window through the accessibility bus.

  e2e-a11y.py find NAME [ROLE] [NTH]   prints the centre "x y" of the NTH (0-based)
                                       showing control with that accessible name
  e2e-a11y.py extents NAME [ROLE] [NTH] prints "x y width height"
  e2e-a11y.py text NAME [ROLE] [NTH]    prints the text the control shows
  e2e-a11y.py unnamed                  lists showing controls a user acts on that
                                       carry no accessible name
Waits up to 8 s for the control to appear (dialogs open asynchronously).
"""
import sys
import time

import pyatspi

ACTIVE_ROLES = {"push button", "check box", "radio button", "text", "menu item",
                "combo box", "spin button", "toggle button", "page tab", "list item"}


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Plavesk":
            return app
    return None


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def extents(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def find(name, role, nth):
    app = application()
    if app is None:
        return None
    found = [a for a in walk(app)
             if a.name == name and (role is None or a.getRoleName() == role) and showing(a)]
    return found[nth] if len(found) > nth else None


def main(argv):
    command = argv[1]
    if command == "unnamed":
        for acc in walk(application()):
            if acc.getRoleName() in ACTIVE_ROLES and showing(acc) and not acc.name:
                print(acc.getRoleName(), extents(acc), "parent:", repr(acc.parent.name))
        return 0
    name = argv[2]
    role = argv[3] if len(argv) > 3 and argv[3] else None
    nth = int(argv[4]) if len(argv) > 4 else 0
    deadline = time.time() + 8
    while True:
        acc = find(name, role, nth)
        if acc is not None:
            break
        if time.time() > deadline:
            print(f"no showing control named {name!r} ({role})", file=sys.stderr)
            return 1
        time.sleep(0.3)
    x, y, w, h = extents(acc)
    if command == "find":
        print(x + w // 2, y + h // 2)
    elif command == "text":
        try:
            print(acc.queryText().getText(0, -1))
        except NotImplementedError:
            print(acc.name)
    else:
        print(x, y, w, h)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
