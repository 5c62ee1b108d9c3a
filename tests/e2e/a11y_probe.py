#!/usr/bin/python3
# What a screen reader (Orca) reads of a program, through pyatspi on the accessibility bus:
#   a11y_probe.py listen FILE   appends the focus and selection events of every program to
#                               FILE, one a line, "ready" first once listening; runs until ended:
#                               type, detail, the source's role, name, key binding, and its
#                               parent's role and extents (a pop-up menu is in no tree)
#   a11y_probe.py dump PID      prints the program's accessible tree, one object a line:
#                               depth, role, name, description, states, key binding, extents
import sys

import pyatspi

STATES = [("selected", pyatspi.STATE_SELECTED), ("focused", pyatspi.STATE_FOCUSED),
          ("sensitive", pyatspi.STATE_SENSITIVE)]


def describe(acc):
    states = acc.getState()
    shown = ",".join(name for name, state in STATES if states.contains(state))
    binding = ""
    try:
        action = acc.queryAction()
        if action.nActions > 0:
            binding = action.getKeyBinding(0)
    except NotImplementedError:
        pass
    extents = ""
    try:
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        extents = f"{box.x},{box.y},{box.width},{box.height}"
    except NotImplementedError:
        pass
    return "|".join([acc.getRoleName(), acc.name or "", acc.description or "", shown, binding,
                     extents])


def dump(acc, depth, out):
    if acc is None or depth > 6:
        return
    out.append(f"{depth}|{describe(acc)}")
    for i in range(acc.childCount):
        dump(acc.getChildAtIndex(i), depth + 1, out)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def listen(path):
    out = open(path, "a", buffering=1)

    def seen(event):
        try:
            source = event.source
            parent = describe(source.parent).split("|") if source.parent else ["", ""] * 3
            seen_as = describe(source).split("|")
            out.write(f"{event.type}|{event.detail1}|{seen_as[0]}|{seen_as[1]}|{seen_as[4]}|"
                      f"{parent[0]}|{parent[5]}\n")
        except Exception as error:  # an object gone by the time it is asked about
            out.write(f"{event.type}|{event.detail1}|gone|{error}\n")

    pyatspi.Registry.registerEventListener(seen, "focus:", "object:state-changed:selected",
                                           "object:state-changed:focused")
    out.write("ready\n")
    pyatspi.Registry.start()


def main():
    if sys.argv[1] == "listen":
        listen(sys.argv[2])
    elif sys.argv[1] == "dump":
        app = application(int(sys.argv[2]))
        if app is None:
            sys.exit("the program is not on the accessibility bus")
        lines = []
        dump(app, 0, lines)
        print("\n".join(lines))


main()
