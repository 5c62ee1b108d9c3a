#include "fakes/fake_platform.h"
#include "fakes/fake_viewers.h"
#include "viewers/form_zoom.h"

#include <gtest/gtest.h>

namespace {
struct ZoomFixture : ::testing::Test {
    FakePlatform fp;
    FakeViewerFactory factory;
    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    formFullScreen fullScreen{factory};
    formZoom zoom{factory, gallery, fp.platform, fullScreen};
    Picture wide = solidPicture(1600, 900);

    FakeZoomView& view() { return *factory.zooms.back(); }
    void open(const Picture& p, const QString& caption) {
        zoom.setPicture(p);
        zoom.setCaption(caption);
        zoom.show(nullptr);
        zoom.FormResize();
    }
};
} // namespace

TEST_F(ZoomFixture, FitCentresThePictureAndRecordsTheOuterGeometry) {
    open(wide, QStringLiteral("Image 1"));
    FakeZoomView& v = view();
    // Hidden while it is sized, shown after.
    ASSERT_GE(v.imageVisibility.size(), 2u);
    EXPECT_EQ(v.imageVisibility[0], false);
    EXPECT_TRUE(v.imageVisible);
    EXPECT_EQ(v.imageWidth, 6855);
    EXPECT_EQ(v.imageHeight, 3855); // 3856 twips kept as 257 whole pixels
    EXPECT_EQ(v.imageLeft, 0);
    EXPECT_EQ(v.imageTop, 502); // (4860 - 3855) / 2, truncated
    EXPECT_EQ(gallery.LastWidth, 6885);
    EXPECT_EQ(gallery.LastHeight, 5235);
    EXPECT_EQ(gallery.LastLeft, 1000);
    EXPECT_EQ(gallery.LastTop, 2000);

    // A maximized window: negative edges are recorded as they are.
    v.outer = {-60, -45, 19320, 15480};
    v.clientWidth = 19200;
    v.clientHeight = 14730;
    zoom.Form_Resize();
    EXPECT_EQ(gallery.LastLeft, -60);
    EXPECT_EQ(gallery.LastTop, -45);
    EXPECT_EQ(gallery.LastWidth, 19320);
    EXPECT_EQ(gallery.LastHeight, 15480);
    EXPECT_EQ(v.imageWidth, 19200);
}

TEST_F(ZoomFixture, MinimizedChangesNothingAndRestoreFitsAgain) {
    open(wide, QStringLiteral("Image 1"));
    FakeZoomView& v = view();
    const auto fitsBefore = v.fits;
    const float width = v.imageWidth;
    v.minimized = true;
    v.outer = {0, 0, 2400, 600};
    v.clientWidth = 2000;
    zoom.Form_Resize();
    EXPECT_EQ(v.fits, fitsBefore);
    EXPECT_EQ(v.imageWidth, width);
    EXPECT_EQ(gallery.LastWidth, 6885);
    EXPECT_EQ(gallery.LastLeft, 1000);

    v.minimized = false;
    zoom.Form_Resize();
    EXPECT_EQ(v.imageWidth, 1995); // 2000 twips kept as 133 pixels
    EXPECT_EQ(gallery.LastWidth, 2400);
    EXPECT_EQ(gallery.LastLeft, 0);
}

TEST_F(ZoomFixture, EmptyPictureIsPlacedAtMiddleHeightAndStillRecorded) {
    open(Picture(), QStringLiteral("Image 1"));
    EXPECT_EQ(view().imageWidth, 6855);
    EXPECT_EQ(view().imageHeight, 0);
    EXPECT_EQ(view().imageTop, 2430);
    EXPECT_EQ(gallery.LastHeight, 5235);
}

TEST_F(ZoomFixture, KeysAndClicks) {
    open(wide, QStringLiteral("Image 1"));
    FakeZoomView& v = view();
    // Ctrl+S and other keys do nothing; the menu entry has no shortcut.
    zoom.Form_KeyDown(83, 2);
    zoom.Form_KeyDown(65, 0);
    EXPECT_TRUE(fp.dialogs.calls.empty());
    EXPECT_FALSE(fullScreen.isShown());

    // Right button over the picture: the menu; any other button: nothing.
    zoom.imgImage_MouseUp(1, 0, 0, 0);
    zoom.imgImage_MouseUp(4, 0, 0, 0);
    EXPECT_EQ(v.menus, 0);
    zoom.imgImage_MouseUp(2, 1, 0, 0);
    EXPECT_EQ(v.menus, 1);
    // From the keyboard: the Menu key or Shift+F10; F10 alone does nothing.
    zoom.Form_KeyDown(121, 0);
    zoom.Form_KeyDown(121, 1);
    zoom.Form_KeyDown(93, 2);
    EXPECT_EQ(v.keyboardMenus, 2);

    // Enter and both double clicks open the full-screen viewer on this picture,
    // owned by this window.
    zoom.Form_KeyDown(13, 0);
    ASSERT_TRUE(fullScreen.isShown());
    EXPECT_TRUE(fullScreen.picture().sameAs(wide));
    EXPECT_EQ(factory.fullScreens.back()->owner, &v);
    EXPECT_EQ(factory.fullScreens.back()->name, QStringLiteral("Image 1"));
    fullScreen.Form_KeyDown(13, 0); // the next key closes it
    EXPECT_FALSE(fullScreen.isShown());
    zoom.Form_DblClick();
    EXPECT_TRUE(fullScreen.isShown());
    fullScreen.Form_Click();
    zoom.imgImage_DblClick();
    EXPECT_TRUE(fullScreen.isShown());
    EXPECT_EQ(factory.fullScreens.size(), 3u); // each opening after a close loads it anew

    // Esc closes the window whatever the modifiers; a closed window holds no picture.
    zoom.Form_KeyDown(27, 7);
    EXPECT_FALSE(zoom.isLoaded());
    EXPECT_TRUE(v.closed);
    EXPECT_TRUE(v.picture.isNull());
}

TEST_F(ZoomFixture, SaveProposesTheCaptionsNameAndWritesExactlyTheChosenPath) {
    open(wide, QStringLiteral("/home/u/Shots/desk.jpg"));
    fp.dialogs.answers = {QStringLiteral("/home/u/Bilder/schöne Grüße.png")};
    zoom.mnuFileSave_Click();
    ASSERT_EQ(fp.dialogs.calls.size(), 1u);
    const FakeDialogs::Call& call = fp.dialogs.calls[0];
    EXPECT_EQ(call.kind, QStringLiteral("save"));
    EXPECT_EQ(call.defaultName, QStringLiteral("/home/u/Shots/desk.bmp"));
    EXPECT_EQ(call.title, QStringLiteral("Save Image"));
    EXPECT_TRUE(call.folder.isEmpty());
    EXPECT_EQ(call.owner, &view());
    ASSERT_EQ(call.filters.size(), 1);
    EXPECT_EQ(call.filters[0],
              (FileFilter{QStringLiteral("Bitmap Image (*.bmp)"), {QStringLiteral("*.bmp")}}));
    // A BMP under the very name chosen, extension and all.
    EXPECT_TRUE(fp.files.files.contains(QStringLiteral("/home/u/Bilder/schöne Grüße.png")));
    EXPECT_EQ(fp.files.files.size(), 1);
    EXPECT_TRUE(fp.messages.shown.empty());

    // Cancel: nothing written, nothing said.
    zoom.mnuFileSave_Click();
    EXPECT_EQ(fp.files.files.size(), 1);
    EXPECT_TRUE(fp.messages.shown.empty());
}

TEST_F(ZoomFixture, ShortCaptionShowsNoDialog) {
    open(wide, QStringLiteral("abc"));
    zoom.mnuFileSave_Click();
    EXPECT_TRUE(fp.dialogs.calls.empty());
}

TEST_F(ZoomFixture, FailedSaveNamesThePathAndTheReason) {
    open(wide, QStringLiteral("Image 1"));
    fp.pictures.failWritesUnder = {QStringLiteral("/mnt/ro/")};
    fp.dialogs.answers = {QStringLiteral("/mnt/ro/shot.bmp")};
    zoom.mnuFileSave_Click();
    EXPECT_TRUE(fp.files.files.isEmpty());
    ASSERT_EQ(fp.messages.shown.size(), 1u);
    EXPECT_EQ(fp.messages.shown[0].kind, QStringLiteral("warning"));
    EXPECT_TRUE(fp.messages.shown[0].text.contains(QStringLiteral("/mnt/ro/shot.bmp")));
    EXPECT_TRUE(fp.messages.shown[0].text.contains(QStringLiteral("Permission denied")));
    // Nothing else changes: the window still shows its picture.
    EXPECT_TRUE(zoom.isLoaded());
    EXPECT_TRUE(view().picture.sameAs(wide));
}
