// Emptying the X clipboard after a picture was read never throws away what another
// owner put there since the read, however close it comes to the emptying.
#include "platform/qt/clipboard/x11_clipboard_reader.h"
#include "wait.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

/** A second owner on a connection of its own, which also sees every change of owner. */
class RivalOwner {
public:
    RivalOwner() : m_c(xcb_connect(nullptr, nullptr)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_window = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        auto* a = xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, 9, "CLIPBOARD"), nullptr);
        m_clipboard = a ? a->atom : XCB_NONE;
        std::free(a);
        const auto* ext = xcb_get_extension_data(m_c, &xcb_xfixes_id);
        m_event = ext && ext->present ? ext->first_event + XCB_XFIXES_SELECTION_NOTIFY : 0;
        std::free(
            xcb_xfixes_query_version_reply(m_c, xcb_xfixes_query_version(m_c, 5, 0), nullptr));
        xcb_xfixes_select_selection_input(m_c, m_window, m_clipboard,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
        xcb_flush(m_c);
    }
    ~RivalOwner() { xcb_disconnect(m_c); }
    bool ok() const { return m_event != 0 && !xcb_connection_has_error(m_c); }
    xcb_window_t window() const { return m_window; }

    xcb_window_t owner() { return sync(); }
    /** The time the current owner named when it took the clipboard. */
    xcb_timestamp_t ownerTime() {
        sync();
        return m_lastTime;
    }
    /** Takes the clipboard, naming time; the time the server recorded. */
    xcb_timestamp_t take(xcb_timestamp_t time) {
        xcb_set_selection_owner(m_c, m_window, m_clipboard, time);
        sync();
        return m_lastTime;
    }

private:
    // The reply comes after every event sent before it.
    xcb_window_t sync() {
        auto* r =
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_clipboard), nullptr);
        const xcb_window_t owner = r ? r->owner : XCB_NONE;
        std::free(r);
        while (xcb_generic_event_t* e = xcb_poll_for_event(m_c)) {
            if ((e->response_type & 0x7f) == m_event)
                m_lastTime =
                    reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(e)->selection_timestamp;
            std::free(e);
        }
        return owner;
    }

    xcb_connection_t* m_c;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboard = XCB_NONE;
    std::uint8_t m_event = 0;
    xcb_timestamp_t m_lastTime = 0;
};

class ClipboardEmptying : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rival.ok());
        ASSERT_TRUE(dir.isValid());
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(0xff336699);
        const QString png = dir.filePath("p.png");
        ASSERT_TRUE(image.save(png));
        owner.start(QStringLiteral(CLIPTOOL_PATH), {QStringLiteral("put"), png});
        ASSERT_TRUE(waitUntil([&] { return owner.canReadLine(); })) << "no owner";
        ASSERT_NE(rival.owner(), XCB_NONE);
        pictureTime = rival.ownerTime();
        picture = lookNow();
        ASSERT_EQ(picture.state, ClipboardContent::State::Bitmap);
        ASSERT_FALSE(picture.picture.isNull());
    }
    void TearDown() override {
        owner.kill();
        owner.waitForFinished(2000);
    }

    ClipboardContent lookNow() {
        std::optional<ClipboardContent> got;
        reader.look(true, [&](ClipboardContent c) { got = c; });
        EXPECT_TRUE(waitUntil([&] { return got.has_value(); }));
        return got.value_or(ClipboardContent{});
    }
    /** Waits until the reader has handled what was asked of it before: it does one
        thing at a time, so a later look ends after it. */
    void settle() {
        bool done = false;
        reader.look(false, [&](ClipboardContent) { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    RivalOwner rival;
    QTemporaryDir dir;
    QProcess owner;
    // The rival answers no requests: looks at its content give up soon.
    X11ClipboardReader reader{X11ClipboardReader::Limits{300, 300, qint64(1) << 30}};
    xcb_timestamp_t pictureTime = 0;
    ClipboardContent picture;
};

} // namespace

TEST_F(ClipboardEmptying, UnchangedOwnerIsEmptied) {
    reader.clearIfUnchanged(picture.ownership);
    EXPECT_TRUE(waitUntil([&] { return rival.owner() == XCB_NONE; }));
}

TEST_F(ClipboardEmptying, OwnerThatTookTheClipboardAfterTheReadIsKept) {
    // Named the very time of the picture's owner, as toolkits do: only the check of
    // the owner tells this one apart.
    ASSERT_EQ(rival.take(pictureTime), pictureTime);
    ASSERT_EQ(rival.owner(), rival.window());
    reader.clearIfUnchanged(picture.ownership);
    settle();
    EXPECT_EQ(rival.owner(), rival.window()) << "the newer content was thrown away";
}

TEST_F(ClipboardEmptying, OwnerThatTakesTheClipboardDuringTheEmptyingIsKept) {
    // The rival takes the clipboard after the check has passed, at the last moment.
    std::atomic<xcb_timestamp_t> rivalTime = 0;
    reader.setBeforeEmptying([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2)); // a later server time
        rivalTime = rival.take(XCB_CURRENT_TIME);
    });
    reader.clearIfUnchanged(picture.ownership);
    ASSERT_TRUE(waitUntil([&] { return rivalTime != 0; }));
    settle();
    reader.setBeforeEmptying(nullptr);
    ASSERT_GT(rivalTime.load(), pictureTime);
    EXPECT_EQ(rival.owner(), rival.window()) << "the newer content was thrown away";
}
