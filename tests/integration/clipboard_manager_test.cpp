// Standing in as the X clipboard manager only while no other runs.
#include "platform/qt/clipboard/x11_clipboard_manager.h"
#include "wait.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

TEST(ClipboardManager, StandsInOnlyWhileNoOtherManagerRuns) {
    X11ClipboardManager ours;
    ASSERT_TRUE(ours.isConnected());
    ASSERT_TRUE(waitUntil([&] { return ours.isManager(); }));

    // The desktop's own manager starts: ours gives way to it.
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    auto* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 17, "CLIPBOARD_MANAGER"), nullptr);
    ASSERT_NE(a, nullptr);
    const xcb_atom_t manager = a->atom;
    std::free(a);
    xcb_set_selection_owner(c, w, manager, XCB_CURRENT_TIME);
    xcb_flush(c);
    EXPECT_TRUE(waitUntil([&] { return !ours.isManager(); })) << "did not give way";
    auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, manager), nullptr);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->owner, w) << "took the selection back from the desktop's manager";
    std::free(owner);

    // It quits: ours stands in again.
    xcb_disconnect(c);
    EXPECT_TRUE(waitUntil([&] { return ours.isManager(); })) << "did not stand in again";
}
