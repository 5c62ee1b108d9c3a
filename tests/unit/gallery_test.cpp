#include "fakes/fake_platform.h"
#include "gallery/gallery.h"

#include <gtest/gtest.h>

namespace {
// The design size: client 9480 x 6795 twips with a 60-twip border and a 345-twip caption band.
OuterSize designSize() { return {9480 + 120, 6795 + 405}; }

struct GalleryFixture : ::testing::Test {
    OuterSize outer = designSize();
    Gallery g{[this] { return outer; }};
};
} // namespace

TEST_F(GalleryFixture, FirstPicturesFillEntryZeroThenCreateEntries) {
    EXPECT_TRUE(g.AddImage(solidPicture(10, 10)));
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_TRUE(g.AddImage(solidPicture(10, 10)));
    EXPECT_EQ(g.topIndex(), 1);
    EXPECT_EQ(g.imgView(1).left, 1200);
    EXPECT_EQ(g.imgView(1).top, 45);
    EXPECT_TRUE(g.imgView(1).visible);
}

TEST_F(GalleryFixture, FullWindowStartsOverAtEntryZero) {
    for (int i = 0; i < 56; ++i)
        ASSERT_TRUE(g.AddImage(solidPicture(4, 3, 0xff000000u + i)));
    EXPECT_EQ(g.ThumbsPerRow, 8);
    EXPECT_EQ(g.imgView(8).left, 30);
    EXPECT_EQ(g.imgView(8).top, 975);
    EXPECT_EQ(g.imgView(55).left, 30 + 7 * 1170);
    EXPECT_EQ(g.imgView(55).top, 45 + 6 * 930);

    const Picture p57 = solidPicture(4, 3, 0xffff0000);
    EXPECT_FALSE(g.AddImage(p57));
    EXPECT_EQ(g.topIndex(), 55) << "no entry without a place";
    EXPECT_TRUE(g.imgView(0).picture.sameAs(p57));
    EXPECT_EQ(g.ImageCount, 1);

    const Picture p58 = solidPicture(4, 3, 0xff00ff00);
    EXPECT_TRUE(g.AddImage(p58));
    EXPECT_TRUE(g.imgView(1).picture.sameAs(p58));

    // Every later pass replaces the pictures shown and never adds an entry.
    for (int pass = 0; pass < 3; ++pass) {
        while (g.ImageCount <= g.topIndex())
            EXPECT_TRUE(g.AddImage(solidPicture(4, 3)));
        const Picture again = solidPicture(4, 3, 0xff0000ffu + pass);
        EXPECT_FALSE(g.AddImage(again));
        EXPECT_TRUE(g.imgView(0).picture.sameAs(again));
        EXPECT_EQ(g.topIndex(), 55);
    }

    // A larger window makes room again.
    outer.height += 930;
    EXPECT_TRUE(g.AddImage(solidPicture(4, 3)));
    while (g.ImageCount <= g.topIndex())
        g.AddImage(solidPicture(4, 3));
    EXPECT_TRUE(g.AddImage(solidPicture(4, 3)));
    EXPECT_EQ(g.topIndex(), 56);
    EXPECT_EQ(g.imgView(56).left, 30);
    EXPECT_EQ(g.imgView(56).top, 45 + 7 * 930);
}

TEST_F(GalleryFixture, RowAndHeightTestsDifferAtEquality) {
    // Entry 1's right edge in the first row would be 30 + 1110 + 60 + 1110.
    const std::int32_t edge = 30 + 1110 + 60 + 1110;
    outer = {edge, 100000};
    g.AddImage(solidPicture(1, 1));
    g.AddImage(solidPicture(1, 1));
    EXPECT_EQ(g.imgView(1).top, 45) << "equal right edge stays in the row";
    EXPECT_EQ(g.ThumbsPerRow, 0);

    Gallery narrow([] { return OuterSize{edge - 1, 45 + 870 + 60 + 870}; });
    narrow.AddImage(solidPicture(1, 1));
    EXPECT_FALSE(narrow.AddImage(solidPicture(1, 1))) << "equal bottom edge does not fit";
    EXPECT_EQ(narrow.ThumbsPerRow, 1) << "set before the height test";
    EXPECT_EQ(narrow.topIndex(), 0);

    Gallery taller([] { return OuterSize{edge - 1, 45 + 870 + 60 + 870 + 1}; });
    taller.AddImage(solidPicture(1, 1));
    EXPECT_TRUE(taller.AddImage(solidPicture(1, 1)));
    EXPECT_EQ(taller.imgView(1).top, 975);
}

TEST_F(GalleryFixture, RelayoutStopsAtFirstEntryWithoutRoom) {
    g.relayout();
    EXPECT_EQ(g.ThumbsPerRow, 0) << "only entry 0: nothing moves";
    for (int i = 0; i < 20; ++i)
        g.AddImage(solidPicture(2, 2));
    // Three columns, two rows: entries 6 and up keep their old places.
    outer = {30 + 3 * 1170 + 60, 45 + 2 * 930 + 60};
    const Entry before7 = g.imgView(7);
    g.relayout();
    EXPECT_EQ(g.ThumbsPerRow, 3);
    EXPECT_EQ(g.imgView(3).left, 30);
    EXPECT_EQ(g.imgView(3).top, 975);
    EXPECT_EQ(g.imgView(7).left, before7.left);
    EXPECT_EQ(g.imgView(7).top, before7.top);
    EXPECT_EQ(g.ImageCount, 20);
}

TEST_F(GalleryFixture, SelectionFrameSurroundsEntryAndStaysOnRelayout) {
    for (int i = 0; i < 12; ++i)
        g.AddImage(solidPicture(2, 2));
    g.SelectImage(9);
    EXPECT_EQ(g.shpSelected.left, 1170);
    EXPECT_EQ(g.shpSelected.top, 945);
    EXPECT_TRUE(g.shpSelected.visible);
    outer = {30 + 4 * 1170, 100000};
    g.relayout();
    EXPECT_EQ(g.shpSelected.left, 1170) << "re-layout leaves the frame";
    g.SelectImage(9);
    EXPECT_EQ(g.shpSelected.left, g.imgView(9).left - 30);
    EXPECT_EQ(g.shpSelected.top, g.imgView(9).top - 30);

    g.SelectImage(40); // names no entry: stored, frame stays
    EXPECT_EQ(g.SelectedIndex, 40);
    EXPECT_EQ(g.shpSelected.left, g.imgView(9).left - 30);
}

TEST_F(GalleryFixture, CountersNeverOverflowInAHugeWindow) {
    outer = {2000000000, 2000000000};
    for (int i = 0; i < 32766; ++i)
        ASSERT_TRUE(g.AddImage(Picture()));
    EXPECT_EQ(g.topIndex(), 32765);
    EXPECT_TRUE(g.AddImage(Picture()));
    EXPECT_EQ(g.ImageCount, 32767);
    EXPECT_FALSE(g.AddImage(Picture())) << "no index left: starts over";
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_GE(g.ImageCount, 0);
}

// Entries overlap once the window shrank and entries kept their places: the one
// showing a picture takes the click and the drag, whichever was made first.
TEST_F(GalleryFixture, OverlappingEntriesGiveTheClickToThePictureAndDragsAreNamed) {
    ASSERT_TRUE(g.AddImage(solidPicture(4, 3)));
    ASSERT_TRUE(g.AddImage(solidPicture(4, 3)));
    g.imgView(1).left = g.imgView(0).left + 300;
    g.imgView(1).picture = Picture();
    const int x = (g.imgView(1).left + 150) / 15, y = (g.imgView(1).top + 150) / 15;
    EXPECT_EQ(g.entryAt(x, y), 0) << "the empty entry on top gives way";
    g.imgView(0).picture = Picture();
    EXPECT_EQ(g.entryAt(x, y), 1) << "of two empty ones, the one drawn last";
    g.imgView(1).visible = false;
    EXPECT_EQ(g.entryAt(x, y), 0);
    EXPECT_EQ(g.entryAt(0, 0), -1);
    EXPECT_EQ(g.entryAt(g.imgView(0).left / 15 + 74, y), -1) << "the right edge is outside";
    EXPECT_EQ(g.entriesToKeep(), std::vector<int>{}) << "no picture, nothing to make";

    g.imgView(1).picture = solidPicture(4, 3);
    EXPECT_EQ(g.entriesToKeep(), std::vector<int>{1});
    g.imgView(1).toolTipText = QStringLiteral("/home/u/shot.final.jpg");
    EXPECT_EQ(g.dragFileName(1), QStringLiteral("shot.final.png"));
    g.imgView(1).toolTipText.clear();
    EXPECT_EQ(g.dragFileName(1), QStringLiteral("Image 2.png"));
}
