#!/usr/bin/env python3
"""Copies as a GTK 4 program does. Reads one line at a time on stdin: a picture's path, or
"text WORDS"; prints "copied N" once the clipboard holds it. Ends at the end of its input."""
import os
import sys

import gi

gi.require_version("Gdk", "4.0")
gi.require_version("Gtk", "4.0")
from gi.repository import Gdk, GLib, GObject, Gtk  # noqa: E402

Gtk.init()
clipboard = Gdk.Display.get_default().get_clipboard()
loop = GLib.MainLoop()
state = {"pending": b"", "count": 0}


def copy(line):
    if line.startswith("text "):
        clipboard.set(line[5:])
    else:
        # As a texture, so that GTK offers it in each image form it can write.
        value = GObject.Value(Gdk.Texture, Gdk.Texture.new_from_filename(line))
        clipboard.set_content(Gdk.ContentProvider.new_for_value(value))
    state["count"] += 1
    print(f"copied {state['count']}", flush=True)


def on_input(fd, condition):
    chunk = os.read(fd, 65536)
    if not chunk:
        loop.quit()
        return False
    state["pending"] += chunk
    *lines, state["pending"] = state["pending"].split(b"\n")
    for line in lines:
        copy(line.decode())
    return True


GLib.unix_fd_add_full(GLib.PRIORITY_DEFAULT, sys.stdin.fileno(), GLib.IOCondition.IN | GLib.IOCondition.HUP,
                      on_input)
print("ready", flush=True)
loop.run()
