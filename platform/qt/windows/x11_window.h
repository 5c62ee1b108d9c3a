// What Qt does not say about a window on X11.
#pragma once

#include <QMargins>
#include <QSize>
#include <optional>

class QWidget;

/** Keeps window in front of owner: the window manager reads WM_TRANSIENT_FOR,
    which Qt writes for dialogs only and clears on every show of an ordinary
    window, so call this after each show. */
void keepInFrontOf(QWidget& window, QWidget* owner);

/** The window manager's frame around a top-level window, as the manager
    announces it now (_NET_FRAME_EXTENTS); none without a window manager. Qt's
    own frame geometry can lag behind a change such as maximizing. */
std::optional<QMargins> frameExtents(const QWidget& window);

/** The frame around w's client area: as the window manager announces it now,
    else as Qt last learnt it. */
QSize frameAround(const QWidget& w);
