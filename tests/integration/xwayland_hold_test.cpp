// Holding the X clipboard empty after a capture (for mutter, which would otherwise keep the
// picture on its Wayland side) never replaces a copy made after the emptying.
#include "platform/qt/clipboard/xwayland_selection.h"
#include "wait.h"

#include <QProcess>
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
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        auto* a = xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, 9, "CLIPBOARD"), nullptr);
        m_clipboard = a ? a->atom : XCB_NONE;
        std::free(a);
    }
    ~Owner() { xcb_disconnect(m_c); }
    xcb_window_t window() const { return m_window; }
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
    // Times of their own, increasing: the server compares them, not its clock.
    copier.set(copier.window(), 1000);
    selection.holdEmptyOnceEmptied();
    copier.set(XCB_NONE, 1000);
    ASSERT_TRUE(waitUntil([&] { return selection.holdingEmpty(); }));
    EXPECT_NE(copier.owned(), XCB_NONE);
    const QString offered = targets();
    EXPECT_TRUE(offered.contains(QLatin1String("TARGETS"))) << offered.toStdString();
    EXPECT_FALSE(offered.contains(QLatin1String("image/"))) << offered.toStdString();

    // A copy made after the emptying, before the emptying is seen: it stays.
    copier.set(copier.window(), 2000);
    selection.holdEmptyOnceEmptied();
    copier.set(XCB_NONE, 2000);
    newer.set(newer.window(), 3000);
    ASSERT_EQ(newer.owned(), newer.window());
    EXPECT_FALSE(selection.holdingEmpty());
    EXPECT_EQ(newer.owned(), newer.window());
}
