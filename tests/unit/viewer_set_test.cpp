#include "fakes/fake_platform.h"
#include "fakes/fake_viewers.h"
#include "viewers/viewer_set.h"

#include <gtest/gtest.h>

namespace {
struct ViewerSetFixture : ::testing::Test {
    FakePlatform fp;
    FakeMainWindow mainWindow;
    FakeViewerFactory factory;
    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    ViewerSet viewers{factory, gallery, fp.platform, &mainWindow};
    Picture a = solidPicture(40, 30, 0xffff0000);
    Picture b = solidPicture(30, 40, 0xff00ff00);
};
} // namespace

TEST_F(ViewerSetFixture, ModifierRuleAndLastZoom) {
    viewers.showInZoom(a, QStringLiteral("Image 1"), 0);
    ASSERT_EQ(factory.zooms.size(), 1u);
    FakeZoomView& first = *factory.zooms[0];
    // No recorded geometry yet: the window system's place and the design size.
    EXPECT_TRUE(first.moves.empty());
    EXPECT_TRUE(first.shown);
    EXPECT_TRUE(first.activated);
    EXPECT_EQ(first.owner, &mainWindow);
    EXPECT_EQ(first.title, QStringLiteral("Image 1"));
    EXPECT_TRUE(first.picture.sameAs(a));
    EXPECT_EQ(viewers.LastZoom()->view(), &first);
    EXPECT_EQ(gallery.LastHeight, first.outer.height); // fitted and recorded

    // No modifier: the window made last shows the next picture.
    viewers.showInZoom(b, QStringLiteral("/tmp/b.bmp"), 0);
    EXPECT_EQ(factory.zooms.size(), 1u);
    EXPECT_TRUE(first.picture.sameAs(b));
    EXPECT_EQ(first.title, QStringLiteral("/tmp/b.bmp"));
    EXPECT_TRUE(first.moves.empty()); // geometry goes to new windows only

    // Shift, Ctrl or Alt: a further window at the recorded geometry; the others stay.
    first.outer = {300, 450, 9000, 6000};
    viewers.LastZoom()->FormResize();
    for (int shift : {1, 2, 4}) {
        viewers.showInZoom(a, QStringLiteral("Image 1"), shift);
        FakeZoomView& made = *factory.zooms.back();
        ASSERT_EQ(made.moves.size(), 1u);
        EXPECT_EQ(made.moves[0], (OuterGeometry{300, 450, 9000, 6000}));
        EXPECT_EQ(viewers.LastZoom()->view(), &made);
    }
    EXPECT_EQ(factory.zooms.size(), 4u);
    EXPECT_TRUE(first.shown);
    EXPECT_EQ(viewers.zoomWindows().size(), 4u);
}

TEST_F(ViewerSetFixture, ClosedLastZoomComesBackAtTheDesignSize) {
    viewers.showInZoom(a, QStringLiteral("Image 1"), 0);
    formZoom* last = viewers.LastZoom();
    ASSERT_GT(gallery.LastHeight, 0);
    last->Form_KeyDown(27, 0);
    EXPECT_FALSE(last->isLoaded());

    viewers.showInZoom(b, QStringLiteral("Image 2"), 0);
    EXPECT_EQ(viewers.LastZoom(), last); // the same zoom window, loaded anew
    ASSERT_EQ(factory.zooms.size(), 2u);
    EXPECT_FALSE(factory.zoomAliveAt(0));
    FakeZoomView& again = *factory.zooms[1];
    EXPECT_TRUE(again.moves.empty()); // not moved to the recorded geometry
    EXPECT_TRUE(again.shown);
    EXPECT_TRUE(again.picture.sameAs(b));
    EXPECT_EQ(again.title, QStringLiteral("Image 2"));
}

TEST_F(ViewerSetFixture, ManyWindowsAndClosedOnesAreReleased) {
    for (int i = 0; i < 50; ++i)
        viewers.showInZoom(i % 2 ? a : b, QStringLiteral("Image %1").arg(i + 1), 1);
    EXPECT_EQ(viewers.zoomWindows().size(), 50u);
    for (FakeZoomView* v : factory.zooms)
        v->closeWindow(); // closed by the window system
    viewers.showInZoom(a, QStringLiteral("Image 1"), 0);
    // Only LastZoom is kept, made anew.
    EXPECT_EQ(viewers.zoomWindows().size(), 1u);
    EXPECT_EQ(factory.zooms.size(), 51u);
    for (std::size_t i = 0; i < 50; ++i)
        EXPECT_FALSE(factory.zoomAliveAt(i));
}

TEST_F(ViewerSetFixture, OneFullScreenViewerThatStaysInFrontOfTheDoubleClicksRelease) {
    // A double click on a thumbnail: release, double click, release.
    viewers.showInZoom(a, QStringLiteral("Image 1"), 0);
    viewers.showFullScreen(a, QStringLiteral("Image 1"));
    ASSERT_EQ(factory.fullScreens.size(), 1u);
    FakeFullScreenView& fs = *factory.fullScreens[0];
    EXPECT_TRUE(fs.shown);
    EXPECT_EQ(fs.owner, &mainWindow);
    const int before = fs.broughtToFront;
    viewers.showInZoom(a, QStringLiteral("Image 1"), 0);
    EXPECT_FALSE(factory.zooms.back()->activated);
    viewers.showInZoom(a, QStringLiteral("Image 1"), 1); // even a new zoom window
    EXPECT_FALSE(factory.zooms.back()->activated);
    EXPECT_GT(fs.broughtToFront, before);

    // Fitted to the screen: 40 x 30 on 1280 x 1024 fills the width.
    EXPECT_EQ(fs.imageWidth, 19200);
    EXPECT_EQ(fs.imageHeight, 14400);
    EXPECT_EQ(fs.imageTop, 480);

    // Closed by a key, then opened from a zoom window with another picture.
    fs.events.Form_KeyDown(16, 1); // Shift alone
    EXPECT_FALSE(viewers.fullScreen().isShown());
    EXPECT_TRUE(fs.picture.isNull());
    viewers.LastZoom()->setPicture(b);
    viewers.LastZoom()->setCaption(QStringLiteral("/shots/b.png"));
    viewers.LastZoom()->imgImage_DblClick();
    ASSERT_EQ(factory.fullScreens.size(), 2u);
    FakeFullScreenView& second = *factory.fullScreens[1];
    EXPECT_TRUE(second.picture.sameAs(b));
    EXPECT_EQ(second.name, QStringLiteral("/shots/b.png")) << "named as the zoom window is";
    EXPECT_EQ(second.owner, viewers.LastZoom()->view());
    // Opening the shown viewer again sets the picture anew; there is still one.
    viewers.showFullScreen(a, QStringLiteral("Image 1"));
    EXPECT_EQ(factory.fullScreens.size(), 2u);
    EXPECT_TRUE(second.picture.sameAs(a));
    EXPECT_EQ(second.imageHeight, 14400);

    // A click on the picture or beside it closes it.
    second.events.imgImage_Click();
    EXPECT_FALSE(viewers.fullScreen().isShown());
    viewers.showFullScreen(b, QStringLiteral("Image 1"));
    factory.fullScreens.back()->events.Form_Click();
    EXPECT_FALSE(viewers.fullScreen().isShown());
}

TEST_F(ViewerSetFixture, CloseAllClosesEveryViewer) {
    viewers.showInZoom(a, QStringLiteral("Image 1"), 0);
    viewers.showInZoom(b, QStringLiteral("Image 2"), 2);
    viewers.showFullScreen(a, QStringLiteral("Image 1"));
    viewers.closeAll();
    for (FakeZoomView* v : factory.zooms)
        EXPECT_FALSE(v->shown);
    EXPECT_FALSE(factory.fullScreens.back()->shown);
    EXPECT_FALSE(viewers.fullScreen().isShown());
}
