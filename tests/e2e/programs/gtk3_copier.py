#!/usr/bin/env python3
"""Copies as a GTK 3 program does. Reads one line at a time on stdin: a picture's path, or
"text WORDS"; prints "copied N" once the clipboard holds it. Ends at the end of its input."""
import os
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("GdkPixbuf", "2.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GdkPixbuf, GLib, Gtk  # noqa: E402

clipboard = Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD)
pending = b""
count = 0


def copy(line):
    global count
    if line.startswith("text "):
        clipboard.set_text(line[5:], -1)
    else:
        clipboard.set_image(GdkPixbuf.Pixbuf.new_from_file(line))
    count += 1
    # GTK says nothing when the X server refuses it the clipboard; the test must know.
    owned = Gdk.selection_owner_get(Gdk.SELECTION_CLIPBOARD) is not None
    print(f"{'copied' if owned else 'refused'} {count}", flush=True)


def on_input(fd, condition):
    global pending
    chunk = os.read(fd, 65536)
    if not chunk:
        Gtk.main_quit()
        return False
    pending += chunk
    *lines, pending = pending.split(b"\n")
    for line in lines:
        copy(line.decode())
    return True


GLib.unix_fd_add_full(GLib.PRIORITY_DEFAULT, sys.stdin.fileno(), GLib.IOCondition.IN | GLib.IOCondition.HUP,
                      on_input)
print("ready", flush=True)
Gtk.main()
