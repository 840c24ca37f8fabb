"""Reads a running program's windows through the desktop's accessibility bus (AT-SPI), as a screen
reader such as Orca does, and fails when a control that takes the focus has no name.

Usage: accessible_names_on_bus.py APPLICATION WINDOW [WINDOW...]
Waits up to 20 seconds for the application and each window to appear on the bus. Prints every
focusable control with its role and name; exits 1 when one has no name or a window is missing.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find_child(parent_now, name, deadline):
    """The child of the given name of the node parent_now() gives, once it is on the bus."""
    while True:
        parent = parent_now()
        for i in range(parent.get_child_count()):
            child = parent.get_child_at_index(i)
            if child is not None and child.get_name() == name:
                return child
        if time.time() > deadline:
            return None
        time.sleep(0.2)


def focusable_controls(node, path):
    """(path, role, name) of every control under node that is shown and takes the focus."""
    found = []
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        states = child.get_state_set()
        if not states.contains(Atspi.StateType.SHOWING):
            continue
        role = child.get_role_name()
        here = path + [role]
        # The items of a list are its content, not controls of their own.
        if states.contains(Atspi.StateType.FOCUSABLE) and role != "list item":
            found.append((" > ".join(here), role, child.get_name()))
        found.extend(focusable_controls(child, here))
    return found


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    deadline = time.time() + 20
    app = find_child(lambda: Atspi.get_desktop(0), argv[1], deadline)
    if app is None:
        print(f"{argv[1]} did not appear on the accessibility bus", file=sys.stderr)
        return 1
    failed = False
    for title in argv[2:]:
        window = find_child(lambda: app, title, deadline)
        if window is None:
            print(f"no window {title!r} on the accessibility bus", file=sys.stderr)
            failed = True
            continue
        for path, role, name in focusable_controls(window, [title]):
            print(f"{path}: {name!r}")
            if not name.strip():
                print(f"  ^ a {role} that takes the focus has no name", file=sys.stderr)
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
