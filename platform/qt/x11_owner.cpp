#include "platform/qt/x11_owner.h"

#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

void keepInFrontOf(QWidget& window, QWidget* owner) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !owner)
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t ownerId = static_cast<xcb_window_t>(owner->window()->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &ownerId);
    xcb_flush(connection);
}
