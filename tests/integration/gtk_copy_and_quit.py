#!/usr/bin/env python3
"""Copies a picture (or, with --text, a text) with GTK 3 and quits at once, as screenshot
tools do: the copy is handed to the clipboard manager (gtk_clipboard_store) on the way
out. Prints "stored" and how many milliseconds the store took once it has returned."""
import sys
import time

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GdkPixbuf, Gtk  # noqa: E402

clipboard = Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD)
if sys.argv[1] == "--text":
    clipboard.set_text(sys.argv[2], -1)
else:
    clipboard.set_image(GdkPixbuf.Pixbuf.new_from_file(sys.argv[1]))
clipboard.set_can_store(None)
start = time.monotonic()
clipboard.store()
print("stored %d" % ((time.monotonic() - start) * 1000), flush=True)
