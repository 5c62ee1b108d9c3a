#include "platform/qt/windows/x11_window.h"

#include "platform/qt/clipboard/xcb_reply.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
} // namespace

void keepInFrontOf(QWidget& window, QWidget* owner) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !owner)
        return;
    const xcb_window_t ownerId = static_cast<xcb_window_t>(owner->window()->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &ownerId);
    xcb_flush(connection);
}

std::optional<QMargins> frameExtents(const QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    static const xcb_atom_t extentsAtom =
        internAtom(connection, "_NET_FRAME_EXTENTS", /*onlyIfExists=*/true);
    if (extentsAtom == XCB_ATOM_NONE)
        return std::nullopt;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()), extentsAtom,
                         XCB_ATOM_CARDINAL, 0, 4),
        nullptr);
    std::optional<QMargins> margins;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        // left, right, top, bottom, in device pixels
        const qreal dpr = window.devicePixelRatioF();
        margins = QMargins(qRound(v[0] / dpr), qRound(v[2] / dpr), qRound(v[1] / dpr),
                           qRound(v[3] / dpr));
    }
    std::free(reply);
    return margins;
}

QSize frameAround(const QWidget& w) {
    if (const auto m = frameExtents(w))
        return QSize(m->left() + m->right(), m->top() + m->bottom());
    return w.frameGeometry().size() - w.size();
}
