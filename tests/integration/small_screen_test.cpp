// The main window on a screen smaller than itself, run by small_screen.sh on an X server of
// its own (700 x 433 pixels, openbox); disabled in the ordinary run.
#include "app/form_capture.h"
#include "fakes/fake_platform.h"
#include "platform/units.h"
#include "platform/qt/windows/capture_window.h"
#include "platform/qt/windows/x11_window.h"
#include "wait.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return a;
}

// As a pager or a keyboard shortcut of the desktop asks: by the window manager's message.
void maximizeByTheWindowManager(const QWidget& window, bool maximize = true) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = atom(connection, "_NET_WM_STATE");
    message.data.data32[0] = maximize ? 1 : 0; // add or remove
    message.data.data32[1] = atom(connection, "_NET_WM_STATE_MAXIMIZED_VERT");
    message.data.data32[2] = atom(connection, "_NET_WM_STATE_MAXIMIZED_HORZ");
    message.data.data32[3] = 1; // from an application
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

OuterSize outerTwips(const QWidget& window, const QMargins& frame) {
    return {pixelsToTwips(window.width() + frame.left() + frame.right()),
            pixelsToTwips(window.height() + frame.top() + frame.bottom())};
}

} // namespace

// Maximized, the window loses most of its frame. Laid out for the outer size it had with the
// old frame, a row gets used that the maximized window has no room for, and a later layout
// for the right size cannot take it back: the entries that no longer fit keep their places.
namespace {

void maximizeAndRestore(int rounds) {
    FakePlatform fake;
    CaptureWindow window;
    FakeViewerHost viewers;
    formCapture form(window, fake.platform, viewers);
    window.attach(form.gallery(), form);
    window.resize(650, 600);
    form.Form_Load();
    window.show();
    ASSERT_TRUE(waitUntil([&] { return frameExtents(window).has_value(); }));
    ASSERT_TRUE(waitUntil([&] { return window.size() == QSize(650, 600); }));
    const QMargins before = *frameExtents(window);
    Gallery& g = form.gallery();
    for (int i = 0; i < 63; ++i)
        g.AddImage(solidPicture(4, 3));
    ASSERT_EQ(g.topIndex(), 62);

    // The same gallery laid out for the size before, then for the size after.
    OuterSize outer = outerTwips(window, before);
    Gallery expected([&outer] { return outer; });
    for (int i = 0; i < 63; ++i)
        expected.AddImage(solidPicture(4, 3));
    expected.relayout();

    std::string why;
    const auto laidOut = [&] {
        for (int i = 0; i <= g.topIndex(); ++i) {
            if (g.imgView(i).left != expected.imgView(i).left ||
                g.imgView(i).top != expected.imgView(i).top) {
                why = "entry " + std::to_string(i) + " at " + std::to_string(g.imgView(i).left) +
                      "," + std::to_string(g.imgView(i).top) + ", not " +
                      std::to_string(expected.imgView(i).left) + "," +
                      std::to_string(expected.imgView(i).top) + ", for an outer size of " +
                      std::to_string(outer.width) + "x" + std::to_string(outer.height);
                return false;
            }
        }
        return true;
    };
    // The frame's change may come before or after the resize: rounds meet both.
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        maximizeByTheWindowManager(window);
        // Maximized, the frame fills the screen: the window manager's steps are over.
        const QSize screen = window.screen()->availableGeometry().size();
        QMargins after;
        ASSERT_TRUE(waitUntil([&] {
            after = frameExtents(window).value_or(before);
            return window.isMaximized() && after != before &&
                   window.size().grownBy(after) == screen;
        })) << "the window did not fill the screen";
        outer = outerTwips(window, after);
        expected.relayout();
        // Once the window has settled, so a late layout is seen too.
        ASSERT_TRUE(waitUntil([&] { return !window.settling(); }));
        ASSERT_TRUE(laidOut()) << "maximized: " << why;

        maximizeByTheWindowManager(window, false);
        ASSERT_TRUE(waitUntil([&] { return !window.isMaximized() && window.width() == 650; }));
        ASSERT_TRUE(waitUntil([&] { return frameExtents(window) == before; }));
        outer = outerTwips(window, before);
        expected.relayout();
        ASSERT_TRUE(waitUntil([&] { return !window.settling(); }));
        ASSERT_TRUE(laidOut()) << "restored: " << why;
    }
}
} // namespace

// The steps come apart now and then, most often at the first maximize of a new window.
TEST(SmallScreen, DISABLED_MaximizeLaysOutForTheFrameItEndsWith) {
    for (int window = 0; window < 6; ++window) {
        SCOPED_TRACE("window " + std::to_string(window));
        maximizeAndRestore(2);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}
