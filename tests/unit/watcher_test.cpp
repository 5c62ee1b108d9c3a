#include "fakes/fake_platform.h"
#include "gallery/clipboard_watcher.h"

#include <gtest/gtest.h>

namespace {

struct WatcherFixture : ::testing::Test {
    FakeClipboard clipboard;
    Gallery gallery{[] { return OuterSize{9600, 7200}; }};
    int added = 0;
    int again = 0;
    ClipboardWatcher watcher{gallery, clipboard, [this] { ++added; }, [this] { ++again; }};
};

} // namespace

TEST_F(WatcherFixture, CaptureIsAddedLabelledAndEmptied) {
    clipboard.put(solidPicture(20, 10));
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
    EXPECT_EQ(gallery.imgView(0).toolTipText, QStringLiteral("Image 1"));
    EXPECT_FALSE(clipboard.offered);
    EXPECT_EQ(added, 1);
    EXPECT_FALSE(gallery.shpSelected.visible) << "a capture selects nothing";

    clipboard.put(solidPicture(20, 10, 0xffff0000));
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.imgView(1).toolTipText, QStringLiteral("Image 2"));
}

TEST_F(WatcherFixture, NoBitmapClearsTheFlagAndTouchesNothing) {
    gallery.IgnoreClipboard = true;
    watcher.Timer1_Timer();
    EXPECT_FALSE(gallery.IgnoreClipboard);
    EXPECT_EQ(gallery.ImageCount, 0);
    EXPECT_EQ(clipboard.clears, 0);
}

TEST_F(WatcherFixture, OwnCopyIsLeftAloneWithoutBeingRead) {
    gallery.IgnoreClipboard = true;
    clipboard.put(solidPicture(5, 5));
    watcher.Timer1_Timer();
    EXPECT_EQ(clipboard.reads, 0);
    EXPECT_TRUE(clipboard.offered);
    EXPECT_EQ(gallery.ImageCount, 0);
    EXPECT_TRUE(gallery.IgnoreClipboard);

    // Once a command clears the flag, the copy still there is taken as a new capture.
    gallery.IgnoreClipboard = false;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
}

TEST_F(WatcherFixture, CopyDuringALookIsNotTakenForAnEmptyClipboard) {
    clipboard.holdAnswers = true;
    watcher.Timer1_Timer(); // finds nothing, but answers late
    gallery.IgnoreClipboard = true;
    clipboard.setPicture(solidPicture(5, 5));
    clipboard.answerHeld();
    EXPECT_TRUE(gallery.IgnoreClipboard) << "the copy must stay out";
    EXPECT_EQ(again, 1);
    clipboard.holdAnswers = false;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 0);
    EXPECT_TRUE(clipboard.offered);
}

TEST_F(WatcherFixture, UnreadableBitmapStaysOnTheClipboard) {
    clipboard.put(solidPicture(5, 5));
    clipboard.unreadable = true;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 0);
    EXPECT_EQ(clipboard.clears, 0);
    EXPECT_TRUE(clipboard.offered);
    EXPECT_EQ(again, 0) << "nothing changed: no endless retry";

    clipboard.put(solidPicture(6, 6));
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1) << "the next change is handled as usual";
}

TEST_F(WatcherFixture, ClipboardManagerRestoringTheCaptureIsLeftForGood) {
    const Picture shot = solidPicture(30, 20, 0xff123456);
    int restores = 0;
    clipboard.afterClear = [&](FakeClipboard& c) {
        ++restores;
        c.put(Picture::fromImage(shot.toImage().copy()), 10); // same pixels, new object
    };
    clipboard.put(shot);
    watcher.Timer1_Timer();
    for (int i = 0; i < 3; ++i)
        watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
    EXPECT_EQ(restores, 1) << "emptied once, not again";
    EXPECT_TRUE(clipboard.offered);

    // Once judged a restore, never taken later: not after a command ends either.
    gallery.IgnoreClipboard = true;
    watcher.Timer1_Timer();
    gallery.IgnoreClipboard = false;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
    EXPECT_EQ(restores, 1);
}

TEST_F(WatcherFixture, RestoreIsTheSamePictureTakenRightAfterTheEmptying) {
    const Picture shot = solidPicture(30, 20, 0xff123456);
    auto same = [&] { return Picture::fromImage(shot.toImage().copy()); };
    clipboard.put(shot);
    watcher.Timer1_Timer();

    // The same picture copied again a moment later is a capture.
    clipboard.put(same(), ClipboardWatcher::kRestoreWithinMs + 1);
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2);
    // So is the same picture after another content, and a new one at once (a burst).
    clipboard.put(same(), -1);
    watcher.Timer1_Timer();
    clipboard.put(solidPicture(30, 20, 0xff654321), 0);
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 4);
    EXPECT_FALSE(clipboard.offered);

    // The program's own copy is never a restore, however soon it comes.
    const Picture copied = gallery.imgView(3).picture;
    gallery.IgnoreClipboard = true;
    clipboard.clear();
    clipboard.setPicture(copied);
    clipboard.takenAfterEmptyingMs = 0;
    watcher.Timer1_Timer();
    gallery.IgnoreClipboard = false; // Delete ended
    watcher.Timer1_Timer();
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 5) << "taken back once";
    EXPECT_FALSE(clipboard.offered);
}

TEST_F(WatcherFixture, SlowManagerCostsAtMostOneDuplicate) {
    const Picture shot = solidPicture(30, 20, 0xff123456);
    int restores = 0;
    clipboard.afterClear = [&](FakeClipboard& c) {
        ++restores;
        c.put(Picture::fromImage(shot.toImage().copy()), 600);
    };
    clipboard.put(shot);
    for (int i = 0; i < 5; ++i)
        watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2) << "one duplicate, then left alone";
    EXPECT_EQ(restores, 2);
    EXPECT_TRUE(clipboard.offered);

    // A different picture afterwards is taken, and its first repeat too.
    clipboard.afterClear = nullptr;
    clipboard.put(solidPicture(30, 20, 0xff00ff00), -1);
    watcher.Timer1_Timer();
    clipboard.put(solidPicture(30, 20, 0xff00ff00), 600);
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 4);
}

TEST_F(WatcherFixture, TicksDuringALookMergeAndChangesAreNotEmptied) {
    clipboard.holdAnswers = true;
    clipboard.put(solidPicture(8, 8, 0xff000001));
    watcher.Timer1_Timer();
    ASSERT_TRUE(watcher.looking());
    watcher.Timer1_Timer();
    watcher.Timer1_Timer();
    EXPECT_EQ(clipboard.looks, 1) << "one look at a time";

    // Another program replaces the content before the answer arrives.
    clipboard.put(solidPicture(8, 8, 0xff000002));
    watcher.noteChange();
    clipboard.answerHeld();
    EXPECT_EQ(gallery.ImageCount, 1) << "the picture that was read is kept";
    EXPECT_TRUE(clipboard.offered) << "the newer content is not thrown away";
    EXPECT_EQ(again, 1) << "and it is looked at next";

    clipboard.holdAnswers = false;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2);
    EXPECT_EQ(qBlue(gallery.imgView(1).picture.toImage().pixel(0, 0)), 2);
    EXPECT_FALSE(clipboard.offered);
}

TEST_F(WatcherFixture, FlagFallingDuringALookLooksAgain) {
    gallery.IgnoreClipboard = true;
    clipboard.holdAnswers = true;
    clipboard.put(solidPicture(4, 4));
    watcher.Timer1_Timer();
    gallery.IgnoreClipboard = false; // a command ended meanwhile
    clipboard.answerHeld();
    EXPECT_EQ(gallery.ImageCount, 0);
    EXPECT_EQ(again, 1);
}

TEST_F(WatcherFixture, AfterStartingOverTheLabelIsTheEntrysPosition) {
    for (int i = 0; i < 57; ++i) {
        clipboard.put(solidPicture(4, 4, 0xff000000u + i));
        watcher.Timer1_Timer();
    }
    EXPECT_EQ(gallery.ImageCount, 1);
    EXPECT_EQ(gallery.imgView(0).toolTipText, QStringLiteral("Image 1"));
    EXPECT_EQ(qBlue(gallery.imgView(0).picture.toImage().pixel(0, 0)), 56);
}
