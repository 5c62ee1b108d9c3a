// The main window's geometry as the window manager frames it.
#include "app/form_capture.h"
#include "fakes/fake_platform.h"
#include "platform/keys.h"
#include "platform/units.h"
#include "platform/qt/windows/capture_window.h"
#include "platform/qt/windows/x11_window.h"
#include "wait.h"

#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

/** True when every entry stands where a fresh re-layout for the window's real
    outer size (client area plus the frame the window manager announces) puts it. */
bool laidOutForTheFrame(const CaptureWindow& window, const Gallery& g, std::string* why) {
    const auto extents = frameExtents(window);
    if (!extents)
        return false;
    const OuterSize outer{pixelsToTwips(window.width() + extents->left() + extents->right()),
                          pixelsToTwips(window.height() + extents->top() + extents->bottom())};
    Gallery expected([outer] { return outer; });
    for (int i = 0; i <= g.topIndex(); ++i)
        expected.AddImage(solidPicture(1, 1));
    expected.relayout();
    if (expected.topIndex() != g.topIndex()) {
        *why = "the window has room for fewer entries than the test made";
        return false;
    }
    for (int i = 0; i <= g.topIndex(); ++i) {
        if (g.imgView(i).left != expected.imgView(i).left ||
            g.imgView(i).top != expected.imgView(i).top) {
            *why = "entry " + std::to_string(i) + " at " + std::to_string(g.imgView(i).left) +
                   "," + std::to_string(g.imgView(i).top) + " for an outer size of " +
                   std::to_string(outer.width) + "x" + std::to_string(outer.height);
            return false;
        }
    }
    return true;
}

/** The main window on the logic, shown at a size that holds a few rows of thumbnails. */
struct ShownWindow {
    FakePlatform fake;
    CaptureWindow window;
    FakeViewerHost viewers;
    formCapture form{window, fake.platform, viewers};

    ShownWindow() {
        window.attach(form.gallery(), form);
        window.resize(632, 453);
        form.Form_Load();
        window.show();
    }
};

} // namespace

TEST(MainWindowTest, LayoutFollowsTheFrameAfterMaximizeAndRestore) {
    ShownWindow rig;
    CaptureWindow& window = rig.window;
    formCapture& form = rig.form;
    ASSERT_TRUE(waitUntil([&] { return frameExtents(window).has_value(); }));
    Gallery& g = form.gallery();
    for (int i = 0; i < 40; ++i)
        g.AddImage(solidPicture(4, 3));
    std::string why;
    for (int round = 0; round < 3; ++round) {
        window.showMaximized();
        ASSERT_TRUE(waitUntil([&] { return window.isMaximized() && window.width() > 632; }));
        EXPECT_TRUE(waitUntil([&] { return laidOutForTheFrame(window, g, &why); }, 3000))
            << "maximized: " << why;
        window.showNormal();
        ASSERT_TRUE(waitUntil([&] { return !window.isMaximized() && window.width() == 632; }));
        EXPECT_TRUE(waitUntil([&] { return laidOutForTheFrame(window, g, &why); }, 3000))
            << "restored: " << why;
    }
}

// The window repaints only what a change touched: after every change the screen must
// show what a full repaint would.
TEST(MainWindowTest, ScreenShowsEveryChangeOfTheGallery) {
    ShownWindow rig;
    CaptureWindow& window = rig.window;
    formCapture& form = rig.form;
    ASSERT_TRUE(waitUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }));
    const auto screenMatches = [&] {
        const QImage shown =
            window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        return shown == window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    Gallery& g = form.gallery();
    for (QRgb colour : {0xffc03020u, 0xff20c030u, 0xff3020c0u, 0xffc0c020u, 0xff20c0c0u}) {
        g.AddImage(solidPicture(64, 48, colour));
        window.galleryChanged();
        EXPECT_TRUE(waitUntil(screenMatches)) << "after adding entry " << g.ImageCount;
    }
    form.imgView_MouseUp(2, 1, 0, 5, 5);
    EXPECT_TRUE(waitUntil(screenMatches)) << "after selecting entry 2";
    form.Form_KeyDown(keys::Right, 0);
    EXPECT_TRUE(waitUntil(screenMatches)) << "after moving the selection";
    form.menuCommand(Command::Delete);
    EXPECT_TRUE(waitUntil(screenMatches)) << "after deleting the selected entry";
    form.menuCommand(Command::Clear);
    EXPECT_TRUE(waitUntil(screenMatches)) << "after clearing";
}
