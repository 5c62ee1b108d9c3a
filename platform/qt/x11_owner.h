#pragma once

class QWidget;

/** Keeps window in front of owner: on X11 the window manager reads
    WM_TRANSIENT_FOR, which Qt writes for dialogs only and clears on every
    show of an ordinary window, so call this after each show. */
void keepInFrontOf(QWidget& window, QWidget* owner);
