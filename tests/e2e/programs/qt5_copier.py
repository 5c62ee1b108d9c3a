#!/usr/bin/env python3
"""Copies as a Qt 5 program does. Reads one line at a time on stdin: a picture's path, or
"text WORDS"; prints "copied N" once the clipboard holds it. Ends at the end of its input."""
import os
import sys

from PyQt5.QtCore import QSocketNotifier
from PyQt5.QtGui import QImage
from PyQt5.QtWidgets import QApplication

app = QApplication(sys.argv)
clipboard = app.clipboard()
state = {"pending": b"", "count": 0}


def copy(line):
    if line.startswith("text "):
        clipboard.setText(line[5:])
    else:
        clipboard.setImage(QImage(line))
    state["count"] += 1
    print(f"copied {state['count']}", flush=True)


def on_input():
    chunk = os.read(sys.stdin.fileno(), 65536)
    if not chunk:
        app.quit()
        return
    state["pending"] += chunk
    *lines, state["pending"] = state["pending"].split(b"\n")
    for line in lines:
        copy(line.decode())


notifier = QSocketNotifier(sys.stdin.fileno(), QSocketNotifier.Read)
notifier.activated.connect(on_input)
print("ready", flush=True)
sys.exit(app.exec_())
