// The logic names a window by its interface; every window the program shows is a widget
// of this layer, and the one place that turns it back into one is here.
#pragma once

#include "platform/window.h"

#include <QWidget>

/** The widget of owner; null for none, or for a window that is not on screen (a fake). */
inline QWidget* ownerWidget(IWindow* owner) {
    return dynamic_cast<QWidget*>(owner);
}
