#include "app/form_capture.h"
#include "fakes/fake_platform.h"
#include "gallery/key_dispatch.h"

#include <gtest/gtest.h>

namespace {

struct EditFixture : ::testing::Test {
    FakePlatform fp;
    FakeMainWindow window;
    FakeViewerHost viewers;
    formCapture form{window, fp.platform, viewers};
    Gallery& g = form.gallery();
    CommandEnv env{g, window, fp.platform};
    std::vector<Picture> pictures;

    /** Entries 0..n-1 with pictures and tool-tip texts "t0", "t1", ... */
    void fill(int n) {
        for (int i = 0; i < n; ++i) {
            pictures.push_back(solidPicture(4, 3, 0xff000000u + i));
            g.AddImage(pictures.back());
            g.imgView(i).toolTipText = QStringLiteral("t%1").arg(i);
        }
    }
    void expectFrameOn(int index) {
        EXPECT_TRUE(g.shpSelected.visible);
        EXPECT_EQ(g.SelectedIndex, index);
        EXPECT_EQ(g.shpSelected.left, g.imgView(index).left - 30);
        EXPECT_EQ(g.shpSelected.top, g.imgView(index).top - 30);
    }
};

} // namespace

TEST_F(EditFixture, DeleteMovesPicturesButNotNames) {
    fill(3);
    g.SelectImage(1);
    g.IgnoreClipboard = true;
    mnuImageDelete_Click(env);
    ASSERT_EQ(g.topIndex(), 1);
    EXPECT_TRUE(g.imgView(0).picture.sameAs(pictures[0]));
    EXPECT_TRUE(g.imgView(1).picture.sameAs(pictures[2]));
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("t0"));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("t1"));
    expectFrameOn(1);
    EXPECT_EQ(g.ImageCount, 3) << "Delete leaves the append position alone";
    EXPECT_FALSE(g.IgnoreClipboard);

    // The next picture lands right after the last remaining entry.
    const Picture next = solidPicture(2, 2);
    g.AddImage(next);
    EXPECT_EQ(g.topIndex(), 2);
    EXPECT_TRUE(g.imgView(2).picture.sameAs(next));
    EXPECT_EQ(g.ImageCount, 3);
}

TEST_F(EditFixture, DeleteOfTheLastMovesTheFrameBack) {
    fill(3);
    g.SelectImage(2);
    mnuImageDelete_Click(env);
    EXPECT_EQ(g.topIndex(), 1);
    expectFrameOn(1);
}

TEST_F(EditFixture, DeleteOfTheOnlyEntryEmptiesItAndKeepsIt) {
    fill(1);
    g.SelectImage(0);
    g.shpSelected.visible = false;
    mnuImageDelete_Click(env);
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_TRUE(g.imgView(0).isEmpty());
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("t0"));
    expectFrameOn(0);
}

TEST_F(EditFixture, ClearDestroysAllButAnEmptyEntryZero) {
    fill(5);
    g.SelectImage(3);
    g.IgnoreClipboard = true;
    const std::int16_t perRow = g.ThumbsPerRow;
    mnuImageClear_Click(env);
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_TRUE(g.imgView(0).isEmpty());
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("t0"));
    EXPECT_EQ(g.ImageCount, 0);
    EXPECT_FALSE(g.shpSelected.visible);
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_EQ(g.SelectedIndex, 3);
    EXPECT_EQ(g.ThumbsPerRow, perRow);

    // Delete after Clear, with a selected index that names no entry.
    mnuImageDelete_Click(env);
    EXPECT_EQ(g.topIndex(), 0);
    expectFrameOn(0);

    // The next capture goes into entry 0.
    const Picture capture = solidPicture(6, 6);
    fp.clipboard.put(capture);
    form.Timer1_Timer();
    EXPECT_TRUE(g.imgView(0).picture.sameAs(capture));
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("Image 1"));
}

TEST_F(EditFixture, CopyKeepsItsOwnPictureOutUntilTheFlagIsCleared) {
    fill(2);
    g.SelectImage(1);
    const int clearsBefore = fp.clipboard.clears;
    mnuImageCopy_Click(env);
    EXPECT_TRUE(g.IgnoreClipboard);
    EXPECT_EQ(fp.clipboard.clears, clearsBefore)
        << "not emptied first: a clipboard manager would put its content back in the gap";
    EXPECT_TRUE(fp.clipboard.content.sameAs(pictures[1]));

    form.Timer1_Timer();
    EXPECT_EQ(g.topIndex(), 1) << "the copy is not taken back";
    EXPECT_TRUE(g.IgnoreClipboard);

    // Delete clears the flag; the bitmap still on the clipboard is taken at the next tick.
    g.SelectImage(0);
    mnuImageDelete_Click(env);
    form.Timer1_Timer();
    EXPECT_EQ(g.topIndex(), 1);
    EXPECT_TRUE(g.imgView(1).picture.sameAs(pictures[1]));
}

TEST_F(EditFixture, CopyOfAnEmptyEntryOrARefusedPictureLeavesTheClipboardEmpty) {
    fp.clipboard.put(solidPicture(3, 3));
    g.SelectImage(0); // entry 0, empty
    mnuImageCopy_Click(env);
    EXPECT_FALSE(fp.clipboard.offered);
    EXPECT_TRUE(g.IgnoreClipboard);
    form.Timer1_Timer();
    EXPECT_FALSE(g.IgnoreClipboard) << "the watcher saw no bitmap";

    fill(1);
    fp.clipboard.refuseSet = true;
    fp.clipboard.put(solidPicture(3, 3));
    mnuImageCopy_Click(env);
    EXPECT_FALSE(fp.clipboard.offered);
}

TEST_F(EditFixture, KeysActLikeTheMenuEntries) {
    fill(3);
    g.SelectImage(2);
    form.Form_KeyDown(keys::C, keys::CtrlMask);
    EXPECT_TRUE(fp.clipboard.content.sameAs(pictures[2]));
    EXPECT_TRUE(g.IgnoreClipboard);
    form.Form_KeyDown(keys::Delete, 0);
    EXPECT_EQ(g.topIndex(), 1);
    EXPECT_FALSE(g.IgnoreClipboard);
    form.Form_KeyDown(keys::F8, 0);
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_TRUE(g.imgView(0).isEmpty());
}

TEST_F(EditFixture, CaptureAfterClearSurvivesADeleteOfTheOldSelection) {
    fill(5);
    g.SelectImage(3);
    mnuImageClear_Click(env);
    ASSERT_EQ(g.SelectedIndex, 3) << "Clear keeps the selected index";
    const Picture capture = solidPicture(6, 6);
    g.AddImage(capture);
    ASSERT_TRUE(g.imgView(0).picture.sameAs(capture)) << "the capture goes into entry 0";
    // The selection names no entry now: Delete moves nothing and destroys nothing.
    mnuImageDelete_Click(env);
    EXPECT_TRUE(g.imgView(0).picture.sameAs(capture));
    expectFrameOn(0);
}
