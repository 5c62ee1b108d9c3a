// Holding the X clipboard empty after a capture (for mutter, which would otherwise keep the
// picture on its Wayland side) never replaces a copy made after the emptying.
#include "platform/qt/clipboard/xwayland_selection.h"
#include "wait.h"

#include <QProcess>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

/** A plain owner of the clipboard on a connection of its own; it answers no requests. */
class Owner {
public:
    Owner() : m_c(xcb_connect(nullptr, nullptr)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_window = xcb_generate_id(m_c);
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK,
                          &events);
        auto* a = xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, 9, "CLIPBOARD"), nullptr);
        m_clipboard = a ? a->atom : XCB_NONE;
        std::free(a);
    }
    ~Owner() { xcb_disconnect(m_c); }
    xcb_window_t window() const { return m_window; }
    /** The server's time now, from the event of a change to a property of our window. */
    xcb_timestamp_t now() {
        QThread::msleep(5);
        xcb_change_property(m_c, XCB_PROP_MODE_APPEND, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                            8, 0, nullptr);
        xcb_flush(m_c);
        xcb_timestamp_t time = XCB_CURRENT_TIME;
        while (time == XCB_CURRENT_TIME) {
            xcb_generic_event_t* e = xcb_wait_for_event(m_c);
            if (!e)
                break;
            if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY)
                time = reinterpret_cast<xcb_property_notify_event_t*>(e)->time;
            std::free(e);
        }
        return time;
    }
    void set(xcb_window_t owner, xcb_timestamp_t time) {
        xcb_set_selection_owner(m_c, owner, m_clipboard, time);
        owned();
    }
    /** The current owner, once the server has handled everything sent before. */
    xcb_window_t owned() {
        auto* r =
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_clipboard), nullptr);
        const xcb_window_t owner = r ? r->owner : XCB_NONE;
        std::free(r);
        return owner;
    }

private:
    xcb_connection_t* m_c;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboard = XCB_NONE;
};

QString targets() {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                 QStringLiteral("-t"), QStringLiteral("TARGETS")});
    // Answered by this thread's event loop: wait while it runs.
    if (!waitUntil([&] { return xclip.state() == QProcess::NotRunning; }))
        xclip.kill();
    xclip.waitForFinished();
    return QString::fromLocal8Bit(xclip.readAllStandardOutput());
}

} // namespace

TEST(XWaylandHold, HoldsTheEmptiedClipboardOfferingNothingButNeverReplacesANewerCopy) {
    XWaylandSelection selection;
    Owner copier;
    Owner newer;
    // An emptying names the time the copy was made, as the reader's does.
    xcb_timestamp_t made = copier.now();
    copier.set(copier.window(), made);
    selection.holdEmptyOnceEmptied();
    copier.set(XCB_NONE, made);
    ASSERT_TRUE(waitUntil([&] { return selection.holdingEmpty(); }));
    EXPECT_NE(copier.owned(), XCB_NONE);
    const QString offered = targets();
    EXPECT_TRUE(offered.contains(QLatin1String("TARGETS"))) << offered.toStdString();
    EXPECT_FALSE(offered.contains(QLatin1String("image/"))) << offered.toStdString();

    // A copy made after the emptying, before the emptying is seen: it stays.
    made = copier.now();
    copier.set(copier.window(), made);
    selection.holdEmptyOnceEmptied();
    copier.set(XCB_NONE, made);
    newer.set(newer.window(), newer.now());
    ASSERT_EQ(newer.owned(), newer.window());
    EXPECT_FALSE(selection.holdingEmpty());
    EXPECT_EQ(newer.owned(), newer.window());
}
