// Commands whose slow part runs as a job: what the window does before, during
// and after it, on jobs the test holds.
#include "app/form_capture.h"
#include "fakes/fake_jobs.h"
#include "fakes/fake_output.h"

#include <gtest/gtest.h>

namespace {

struct JobFixture : ::testing::Test {
    ThreadSafeFakes fakes;
    FakePlatform& fake = fakes.fake;
    FakeMainWindow window;
    FakeViewerHost viewers;
    FakeJobs jobs;
    formCapture form{window, fakes.platform, viewers, &jobs};
    Gallery& g = form.gallery();

    void SetUp() override { jobs.hold = true; }
    void capture(const Picture& picture) {
        fake.clipboard.put(picture);
        form.Timer1_Timer();
    }
    int filesUnder(const QString& folder) const {
        int n = 0;
        for (const QString& f : fake.files.files.keys())
            n += f.startsWith(folder) ? 1 : 0;
        return n;
    }
};

} // namespace

TEST_F(JobFixture, WhileSaveAllRunsCapturesArriveOtherCommandsAreRefusedAndTheEndComesAfter) {
    capture(solidPicture(40, 30, 0xff102030));
    g.IgnoreClipboard = true;
    fake.dialogs.answers.push_back(QStringLiteral("/out"));
    form.menuCommand(Command::SaveAll);

    ASSERT_EQ(jobs.heldCount(), 1u);
    EXPECT_TRUE(form.jobRunning());
    EXPECT_TRUE(window.busy);
    EXPECT_FALSE(window.isMenuEnabled(Command::Delete));
    EXPECT_TRUE(window.isMenuEnabled(Command::About));
    EXPECT_TRUE(fake.messages.shown.empty()) << "the closing message waits for the files";
    EXPECT_TRUE(g.IgnoreClipboard) << "the flag is cleared as the command's last step";

    // The window goes on: another capture comes in; commands wait for none.
    g.IgnoreClipboard = false;
    capture(solidPicture(40, 30, 0xff405060));
    EXPECT_EQ(g.ImageCount, 2);
    fake.dialogs.answers.push_back(QStringLiteral("/other"));
    form.menuCommand(Command::SaveAll);
    form.menuCommand(Command::Delete);
    form.Form_KeyDown(46, 0);
    EXPECT_EQ(jobs.started, 1);
    EXPECT_EQ(fake.dialogs.calls.size(), 1u);
    EXPECT_EQ(g.ImageCount, 2) << "Delete was refused";
    EXPECT_FALSE(g.imgView(1).isEmpty());

    g.IgnoreClipboard = true;
    ASSERT_TRUE(jobs.finishNext());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Save all is done."));
    EXPECT_EQ(filesUnder(QStringLiteral("/out/")), 1) << "the gallery as it was at the start";
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_FALSE(form.jobRunning());
    EXPECT_FALSE(window.busy);
    EXPECT_TRUE(window.isMenuEnabled(Command::Delete));
    form.menuCommand(Command::Delete);
    EXPECT_EQ(g.topIndex(), 0) << "commands run again";
}

TEST_F(JobFixture, SaveNamesOnlyTheEntryThatStillShowsTheSavedPicture) {
    capture(solidPicture(40, 30, 0xff102030));
    g.imgView(0).toolTipText = QStringLiteral("/shots/a.jpg");
    fake.dialogs.answers.push_back(QStringLiteral("/shots/a.bmp"));
    form.menuCommand(Command::Save);
    ASSERT_EQ(jobs.heldCount(), 1u);
    // The gallery started over and put a new capture into the entry meanwhile.
    g.imgView(0).picture = solidPicture(40, 30, 0xff999999);
    g.imgView(0).toolTipText = QStringLiteral("Image 9");
    ASSERT_TRUE(jobs.finishNext());
    EXPECT_GT(fake.files.fileLength(QStringLiteral("/shots/a.bmp")), 0);
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("Image 9"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(JobFixture, CopyRaisesTheFlagWithThePictureAndALookAcrossItLeavesTheFlag) {
    const Picture packed = solidPicture(400, 300, 0xff336699);
    capture(packed);
    ASSERT_TRUE(g.imgView(0).picture.compact());
    form.menuCommand(Command::Copy);
    ASSERT_EQ(jobs.heldCount(), 1u);
    // A look that begins during the decode finds the clipboard empty, but answers only
    // once the copy is on: that answer is older than the copy.
    fake.clipboard.holdAnswers = true;
    form.Timer1_Timer();
    ASSERT_TRUE(jobs.finishNext());
    EXPECT_TRUE(g.IgnoreClipboard);
    ASSERT_TRUE(fake.clipboard.own);
    EXPECT_TRUE(fake.clipboard.content.samePixelsAs(packed));
    fake.clipboard.holdAnswers = false;
    fake.clipboard.answerHeld();
    EXPECT_TRUE(g.IgnoreClipboard);
    form.Timer1_Timer();
    EXPECT_EQ(g.ImageCount, 1) << "the program's own copy is not taken back in";
}

TEST_F(JobFixture, ClosingTheWindowFinishesTheRunningWriteAndReportsNothing) {
    capture(solidPicture(40, 30, 0xff102030));
    fake.dialogs.answers.push_back(QStringLiteral("/out"));
    form.menuCommand(Command::SaveAll);
    ASSERT_EQ(jobs.heldCount(), 1u);
    form.Form_Unload();
    EXPECT_EQ(jobs.finishAllCalls, 1);
    EXPECT_EQ(filesUnder(QStringLiteral("/out/")), 1) << "the file was written to its end";
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_FALSE(window.busy);
    EXPECT_FALSE(form.jobRunning());
}

TEST_F(JobFixture, BusyPointerLastsWhileBrowseOrAJobStartedDuringItStillRuns) {
    capture(solidPicture(40, 30, 0xff102030));
    for (int i = 0; i < 3; ++i) {
        const QString path = QStringLiteral("/pics/%1.jpg").arg(i);
        fake.files.files[path] = "picture";
        fake.pictures.readable[path] = solidPicture(8, 6, 0xff000000u + i);
    }
    int yields = 0;
    window.onProcessEvents = [&] {
        if (++yields == 1) {
            form.menuCommand(Command::Copy);
        } else if (yields == 2) {
            ASSERT_TRUE(jobs.finishNext());
            EXPECT_TRUE(window.busy) << "the folder is still loading";
            form.menuCommand(Command::Copy);
        }
    };
    fake.dialogs.answers.push_back(QStringLiteral("/pics"));
    form.menuCommand(Command::Browse);
    EXPECT_EQ(g.ImageCount, 3);
    EXPECT_TRUE(window.busy) << "the Copy started during Browse is still at work";
    ASSERT_TRUE(jobs.finishNext());
    EXPECT_FALSE(window.busy);
    EXPECT_TRUE(window.isMenuEnabled(Command::Browse));
}
