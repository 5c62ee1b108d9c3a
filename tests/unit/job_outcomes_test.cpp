// What a command's job ends with reaches the user: a throw with its cause in words,
// a job given up as a failure, never as done, and no temporary file outlives either.
#include "app/form_capture.h"
#include "fakes/fake_jobs.h"
#include "fakes/fake_output.h"

#include <gtest/gtest.h>
#include <new>

namespace {

struct OutcomeFixture : ::testing::Test {
    ThreadSafeFakes fakes;
    FakePlatform& fake = fakes.fake;
    FakeMainWindow window;
    FakeViewerHost viewers;
    FakeJobs jobs;
    formCapture form{window, fakes.platform, viewers, &jobs};
    Gallery& g = form.gallery();

    void SetUp() override {
        jobs.hold = true;
        for (int i = 0; i < 2; ++i) {
            fake.clipboard.put(solidPicture(40 + i, 30));
            form.Timer1_Timer();
        }
    }
    QStringList filesUnder(const QString& folder) const {
        QStringList names;
        for (const QString& f : fake.files.files.keys())
            if (f.startsWith(folder))
                names.append(f.mid(folder.size()));
        return names;
    }
    void expectIdleWithTheGallery() const {
        EXPECT_FALSE(form.jobRunning());
        EXPECT_FALSE(window.busy);
        EXPECT_TRUE(window.isMenuEnabled(Command::SaveAll));
        EXPECT_EQ(g.ImageCount, 2);
        EXPECT_FALSE(g.IgnoreClipboard);
    }
};

} // namespace

TEST_F(OutcomeFixture, AThrowFailsWithItsCauseInWordsAndLeavesNoFile) {
    // Memory runs out converting the second picture: the first is saved, the second
    // is counted with its cause, and its intermediate file goes.
    fake.converter.whileConverting = [](const QString& jpeg) {
        if (jpeg.contains(QStringLiteral("/image_2_")))
            throw std::bad_alloc();
    };
    fake.dialogs.answers.push_back(QStringLiteral("/out"));
    form.menuCommand(Command::SaveAll);
    ASSERT_TRUE(jobs.finishNext());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].kind, "warning");
    const QString text = fake.messages.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("1 of 2 pictures were not saved in /out/.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("there is not enough memory for it")))
        << text.toStdString();
    const QStringList left = filesUnder(QStringLiteral("/out/"));
    ASSERT_EQ(left.size(), 1) << left.join(' ').toStdString();
    EXPECT_TRUE(left[0].startsWith(QStringLiteral("image_1_")));
    expectIdleWithTheGallery();

    // A job that throws as a whole says so too: Print used to say nothing.
    fake.printer.whileDrawing = [] { throw std::bad_alloc(); };
    form.menuCommand(Command::Print);
    ASSERT_TRUE(jobs.finishNext());
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text,
              QStringLiteral("The picture could not be printed: there is not enough memory for it."));
    expectIdleWithTheGallery();
}

TEST_F(OutcomeFixture, AJobGivenUpIsAFailureNeverDone) {
    fake.dialogs.answers.push_back(QStringLiteral("/out"));
    form.menuCommand(Command::SaveAll);
    ASSERT_TRUE(jobs.cancelNext());
    g.SelectImage(0);
    g.imgView(0).toolTipText = QStringLiteral("/shots/a.jpg");
    fake.dialogs.answers.push_back(QStringLiteral("/shots/a.jpg"));
    form.menuCommand(Command::Save);
    ASSERT_TRUE(jobs.cancelNext());
    form.menuCommand(Command::Print);
    ASSERT_TRUE(jobs.cancelNext());

    ASSERT_EQ(fake.messages.shown.size(), 3u);
    for (const auto& shown : fake.messages.shown) {
        EXPECT_EQ(shown.kind, "warning") << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(QStringLiteral("the work ended without a result")))
            << shown.text.toStdString();
    }
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("Save all into /out/")));
    EXPECT_TRUE(fake.messages.shown[1].text.contains(QStringLiteral("/shots/a.jpg")));
    EXPECT_TRUE(filesUnder(QStringLiteral("/")).size() == 0);
    expectIdleWithTheGallery();
}
