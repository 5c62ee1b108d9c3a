#include "fakes/fake_platform.h"
#include "gallery/clipboard_watcher.h"

#include <gtest/gtest.h>

namespace {

Picture copyOf(const Picture& p) {
    return Picture::fromImage(p.toImage().copy()); // same pixels, another object
}

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
    clipboard.setPicture(solidPicture(5, 5));
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

TEST_F(WatcherFixture, XfceManagerPutsBackAfterASecondAndIsLeft) {
    const std::uint64_t xfsettingsd = clipboard.connect();
    clipboard.managerClient = xfsettingsd;
    const Picture screen = solidPicture(30, 20, 0xff123456);
    for (int shot = 1; shot <= 3; ++shot) {
        // PrintScreen runs the screenshot tool anew; the screen has not changed.
        const std::uint64_t shooter = clipboard.connect();
        clipboard.put(copyOf(screen), shooter);
        watcher.Timer1_Timer();
        clipboard.disconnect(shooter);
        ASSERT_EQ(gallery.ImageCount, shot);
        const int clears = clipboard.clears;
        clipboard.nowMs += 1200;
        clipboard.put(copyOf(screen), xfsettingsd);
        watcher.Timer1_Timer();
        watcher.Timer1_Timer();
        EXPECT_EQ(gallery.ImageCount, shot) << "the put-back is not a screenshot";
        EXPECT_EQ(clipboard.clears, clears) << "and is not emptied";
        EXPECT_TRUE(clipboard.offered);
        clipboard.nowMs += 5000;
    }
    // Still left after a command ends.
    gallery.IgnoreClipboard = true;
    watcher.Timer1_Timer();
    gallery.IgnoreClipboard = false;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 3);
}

TEST_F(WatcherFixture, KlipperPuttingBackAnOlderPictureIsLeft) {
    const std::uint64_t klipper = clipboard.connect();
    const std::uint64_t eog = clipboard.connect();
    std::vector<Picture> copied;
    for (int i = 0; i < 3; ++i) {
        copied.push_back(solidPicture(30, 20, 0xff000010u + i));
        clipboard.put(copied.back(), eog);
        watcher.Timer1_Timer();
    }
    ASSERT_EQ(gallery.ImageCount, 3);
    clipboard.put(copyOf(copied[0]), klipper); // the third newest of its history
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 3);
    EXPECT_TRUE(clipboard.offered);
}

TEST_F(WatcherFixture, GPasteEmptyingThenPuttingBackIsLeftWithoutASecondEmptying) {
    const std::uint64_t gpaste = clipboard.connect();
    Picture shot = solidPicture(30, 20, 0xff123456);
    int putBacks = 0;
    clipboard.afterClear = [&](FakeClipboard& c) {
        if (++putBacks > 50)
            return; // a loop: the test fails below
        c.emptyByOther();
        c.put(copyOf(shot), gpaste);
    };
    clipboard.put(shot, clipboard.connect());
    for (int i = 0; i < 4; ++i)
        watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
    EXPECT_EQ(putBacks, 1) << "emptied once";
    EXPECT_TRUE(clipboard.offered);

    // Taken from GPaste itself (it took the copy over first): its prompt put-back is left.
    clipboard.nowMs += 1000;
    clipboard.put(copyOf(shot = solidPicture(30, 20, 0xff654321)), gpaste);
    for (int i = 0; i < 4; ++i)
        watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2);
    EXPECT_EQ(putBacks, 2);
}

TEST_F(WatcherFixture, ManagerTakingOverTheCopyWhileItIsReadIsLeft) {
    // Xfce's manager has the role; GPaste, synchronising, does not.
    clipboard.managerClient = clipboard.connect();
    const std::uint64_t gpaste = clipboard.connect();
    for (const std::uint64_t manager : {clipboard.managerClient, gpaste}) {
        const Picture shot = solidPicture(30, 20, 0xff000000u + std::uint32_t(manager));
        // A program copies; the manager takes its picture over while we read it, so our
        // emptying finds the manager's copy and leaves it.
        clipboard.put(shot, clipboard.connect());
        clipboard.holdAnswers = true;
        watcher.Timer1_Timer();
        clipboard.put(copyOf(shot), manager);
        clipboard.holdAnswers = false;
        clipboard.answerHeld();
        for (int i = 0; i < 3; ++i)
            watcher.Timer1_Timer();
        EXPECT_EQ(gallery.ImageCount, manager == gpaste ? 2 : 1);
        EXPECT_TRUE(clipboard.offered);
    }
}

TEST_F(WatcherFixture, SamePicturesCopiedAgainAreNewCopies) {
    const std::uint64_t klipper = clipboard.connect();
    (void)klipper; // a manager that is there but puts nothing back
    const Picture screen = solidPicture(30, 20, 0xff123456);
    const std::uint64_t first = clipboard.connect();
    clipboard.put(screen, first);
    watcher.Timer1_Timer();
    clipboard.disconnect(first);
    // The screenshot tool run anew at once, on an unchanged screen.
    clipboard.nowMs += 100;
    clipboard.put(copyOf(screen), clipboard.connect());
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2) << "a new process is a new copy";

    // A long-lived program copying the same picture again, slow to hand it over: the
    // second copy comes 3.5 s after the first, half a second after our emptying.
    const std::uint64_t eog = clipboard.connect();
    const Picture photo = solidPicture(30, 20, 0xff00ff00);
    clipboard.put(photo, eog);
    clipboard.nowMs += 3000;
    watcher.Timer1_Timer();
    clipboard.nowMs += 500;
    clipboard.press(); // Ctrl+C
    clipboard.put(copyOf(photo), eog);
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 4) << "the copier copying again is a new copy";
    EXPECT_FALSE(clipboard.offered);
}

TEST_F(WatcherFixture, ManagerWithoutTheRolePuttingBackSlowerThanAnySeenCostsOneDuplicateNoLoop) {
    const std::uint64_t manager = clipboard.connect();
    for (const std::int64_t delayMs : {std::int64_t(5), ClipboardWatcher::kPutBackWithinMs,
                                       ClipboardWatcher::kPutBackWithinMs + 1}) {
        const Picture picked = solidPicture(30, 20, 0xff000000u + std::uint32_t(delayMs));
        const int before = gallery.ImageCount;
        int putBacks = 0;
        clipboard.afterClear = [&](FakeClipboard& c) {
            c.nowMs += delayMs;
            if (++putBacks <= 50)
                c.put(copyOf(picked), manager);
        };
        clipboard.put(picked, manager); // picked from its own history
        for (int i = 0; i < 5; ++i)
            watcher.Timer1_Timer();
        const int duplicates = delayMs <= ClipboardWatcher::kPutBackWithinMs ? 0 : 1;
        EXPECT_EQ(gallery.ImageCount - before, 1 + duplicates) << delayMs;
        EXPECT_EQ(putBacks, 1) << "the late one is taken but not emptied: " << delayMs;
        EXPECT_TRUE(clipboard.offered);
        clipboard.afterClear = nullptr;
        clipboard.nowMs += 10000;
    }
}

TEST_F(WatcherFixture, WithoutClientsAPutBackIsToldByTime) {
    clipboard.namesClients = false;
    clipboard.tellsPresses = false;
    const Picture photo = solidPicture(30, 20, 0xff00ff00);
    // A slow owner, read 3 s after its copy; a manager putting it back 0.3 s after our emptying.
    clipboard.put(photo);
    clipboard.nowMs += 3000;
    watcher.Timer1_Timer();
    clipboard.nowMs += 300;
    clipboard.put(copyOf(photo));
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
    EXPECT_TRUE(clipboard.offered);

    // The same copied again, three times, 2 s apart: each taken.
    for (int i = 0; i < 3; ++i) {
        clipboard.nowMs += 2000;
        clipboard.put(copyOf(photo));
        watcher.Timer1_Timer();
        watcher.Timer1_Timer();
    }
    EXPECT_EQ(gallery.ImageCount, 4);

    // A manager taking a new copy over before our emptying: the same picture again at once.
    const Picture next = solidPicture(30, 20, 0xff0000ff);
    clipboard.nowMs += 2000;
    clipboard.put(next);
    clipboard.holdAnswers = true;
    watcher.Timer1_Timer();
    clipboard.nowMs += 20;
    clipboard.put(copyOf(next));
    clipboard.holdAnswers = false;
    clipboard.answerHeld();
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 5);
    EXPECT_TRUE(clipboard.offered);

    // Only the picture just taken is put back: an older one copied again at once is new.
    clipboard.nowMs += 5000;
    clipboard.put(solidPicture(30, 20, 0xffff0000));
    watcher.Timer1_Timer();
    clipboard.nowMs += 100;
    clipboard.put(copyOf(photo));
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 7);
    EXPECT_FALSE(clipboard.offered) << "and emptied";
}

TEST_F(WatcherFixture, APersonsRepeatedCopiesAreAllTaken) {
    const std::uint64_t klipper = clipboard.connect(); // there all along, putting nothing back
    (void)klipper;
    const std::uint64_t viewer = clipboard.connect();
    const Picture green = solidPicture(30, 20, 0xff00ff00);
    const Picture red = solidPicture(30, 20, 0xffff0000);
    const Picture blue = solidPicture(30, 20, 0xff0000ff);
    int expected = 0;
    auto copy = [&](const Picture& p, std::uint64_t by, std::int64_t afterMs, bool pressed) {
        clipboard.nowMs += afterMs;
        if (pressed)
            clipboard.press();
        clipboard.put(copyOf(p), by);
        for (int i = 0; i < 3; ++i)
            watcher.Timer1_Timer();
        ASSERT_EQ(gallery.ImageCount, ++expected)
            << "copy " << expected << " by " << by << " after " << afterMs << " ms";
    };
    // One program, Ctrl+C five times: as soon after our emptying as a person can.
    for (int i = 0; i < 5; ++i)
        copy(green, viewer, 200, true);
    EXPECT_FALSE(clipboard.offered) << "each emptied";
    // The same unattended, a few seconds apart.
    for (int i = 0; i < 5; ++i)
        copy(green, viewer, 3000, false);
    // A new program for each copy (xclip, a screenshot tool), at once and interleaved.
    for (const Picture* p : {&green, &green, &green, &red, &blue, &red, &blue, &red}) {
        const std::uint64_t xclip = clipboard.connect();
        copy(*p, xclip, 100, false);
        clipboard.disconnect(xclip);
    }
    // After Clear and after Delete, the picture copied back.
    while (gallery.topIndex() > 0) // as Clear does
        gallery.destroyTopEntry();
    gallery.imgView(0).picture = Picture();
    gallery.ImageCount = 0;
    expected = 0;
    copy(red, viewer, 500, true);
    copy(blue, viewer, 3000, false);
    copy(red, viewer, 500, true);
}

TEST_F(WatcherFixture, PutBacksOfTheManagersPeopleRunAreLeftEvenWhenSlow) {
    // Measured put-backs take 2 ms to a second after our emptying, on a busy machine too.
    const std::uint64_t manager = clipboard.connect();
    const std::uint64_t viewer = clipboard.connect();
    for (const std::int64_t delayMs : {2, 300, 1000}) {
        const Picture shot = solidPicture(30, 20, 0xff000000u + std::uint32_t(delayMs));
        clipboard.nowMs += 5000;
        bool putBack = false;
        clipboard.afterClear = [&](FakeClipboard& c) {
            if (std::exchange(putBack, true))
                return;
            c.nowMs += delayMs;
            c.put(copyOf(shot), manager);
        };
        clipboard.put(shot, viewer);
        for (int i = 0; i < 3; ++i)
            watcher.Timer1_Timer();
        EXPECT_TRUE(clipboard.offered) << delayMs;
    }
    EXPECT_EQ(gallery.ImageCount, 3);
}

TEST_F(WatcherFixture, PersonsCopyTakenOverByAManagerIsNew) {
    // Xfce's manager takes every copy over at once; a person copies the same picture again.
    clipboard.managerClient = clipboard.connect();
    const std::uint64_t viewer = clipboard.connect();
    const Picture shot = solidPicture(30, 20, 0xff223344);
    for (int round = 1; round <= 3; ++round) {
        clipboard.nowMs += 4000;
        clipboard.press();
        clipboard.put(copyOf(shot), viewer);
        clipboard.put(copyOf(shot), clipboard.managerClient);
        for (int i = 0; i < 3; ++i)
            watcher.Timer1_Timer();
        EXPECT_EQ(gallery.ImageCount, round);
        // Its put-back after our emptying, however late, stays out.
        clipboard.nowMs += 1200;
        clipboard.put(copyOf(shot), clipboard.managerClient);
        watcher.Timer1_Timer();
        EXPECT_EQ(gallery.ImageCount, round);
        EXPECT_TRUE(clipboard.offered);
    }
}

TEST_F(WatcherFixture, OwnCopyTakenBackIsNeverAPutBack) {
    clipboard.put(solidPicture(30, 20, 0xff123456), clipboard.connect());
    watcher.Timer1_Timer();
    gallery.IgnoreClipboard = true;
    clipboard.setPicture(gallery.imgView(0).picture);
    watcher.Timer1_Timer();
    gallery.IgnoreClipboard = false; // Delete ended
    watcher.Timer1_Timer();
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2) << "taken back once";
    EXPECT_FALSE(clipboard.offered);
}

TEST_F(WatcherFixture, ManagerKeepingOurOwnCopyIsLeftAndAPersonsCopyOfItIsTaken) {
    const std::uint64_t gpaste = clipboard.connect();
    const std::uint64_t eog = clipboard.connect();
    const Picture first = solidPicture(30, 20, 0xff102030);
    clipboard.put(first, eog);
    watcher.Timer1_Timer();
    clipboard.put(solidPicture(30, 20, 0xff405060), eog);
    watcher.Timer1_Timer();
    ASSERT_EQ(gallery.ImageCount, 2);
    // Copy of the older picture; GPaste takes it over at once.
    gallery.IgnoreClipboard = true;
    clipboard.setPicture(gallery.imgView(0).picture);
    clipboard.put(copyOf(first), gpaste);
    for (int i = 0; i < 3; ++i)
        watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 2) << "our own copy is not taken back";
    EXPECT_FALSE(gallery.IgnoreClipboard);
    // The same picture copied in a program by a person: a new copy.
    clipboard.press();
    clipboard.put(copyOf(first), eog);
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 3);
}

TEST_F(WatcherFixture, AnotherProgramsCopyAfterOurCopyIsTaken) {
    gallery.IgnoreClipboard = true;
    clipboard.setPicture(solidPicture(5, 5));
    watcher.Timer1_Timer();
    EXPECT_TRUE(gallery.IgnoreClipboard);
    const Picture fromEog = solidPicture(7, 7, 0xff00ff00);
    clipboard.put(fromEog, clipboard.connect());
    watcher.Timer1_Timer();
    EXPECT_FALSE(gallery.IgnoreClipboard);
    EXPECT_EQ(again, 1) << "and looked at again, reading";
    watcher.Timer1_Timer();
    ASSERT_EQ(gallery.ImageCount, 1);
    EXPECT_TRUE(gallery.imgView(0).picture.sameAs(fromEog));

    // A Copy made while the look at another program's picture is under way stays out.
    clipboard.put(solidPicture(6, 6), clipboard.connect());
    gallery.IgnoreClipboard = true;
    clipboard.holdAnswers = true;
    watcher.Timer1_Timer();
    clipboard.setPicture(gallery.imgView(0).picture);
    watcher.noteChange();
    clipboard.answerHeld();
    EXPECT_TRUE(gallery.IgnoreClipboard);
    clipboard.holdAnswers = false;
    watcher.Timer1_Timer();
    EXPECT_EQ(gallery.ImageCount, 1);
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
