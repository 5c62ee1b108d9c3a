#include "commands/commands.h"
#include "fakes/fake_jobs.h"
#include "fakes/fake_platform.h"

#include <gtest/gtest.h>

namespace {

struct OpenFixture : ::testing::Test {
    FakePlatform fp;
    FakeMainWindow window;
    Gallery g{[this] { return OuterSize{window.outerWidth, window.outerHeight}; }};
    CommandEnv env{g, window, fp.platform};
    Picture a = solidPicture(4, 4, 0xff0000aa);
    Picture b = solidPicture(4, 4, 0xff0000bb);

    OpenFixture() {
        g.AddImage(a);
        g.AddImage(b);
        g.imgView(0).toolTipText = QStringLiteral("Image 1");
        g.imgView(1).toolTipText = QStringLiteral("Image 2");
        g.SelectImage(1);
        g.IgnoreClipboard = true;
    }
    void open(const QString& answer) {
        fp.dialogs.answers.push_back(answer);
        mnuFileOpen_Click(env);
    }
};

} // namespace

TEST_F(OpenFixture, ReplacesTheSelectedPictureAndNamesIt) {
    const Picture loaded = solidPicture(9, 7);
    fp.pictures.readable[QStringLiteral("/home/u/shot.gif")] = loaded;
    open(QStringLiteral("/home/u/shot.gif"));

    ASSERT_EQ(fp.dialogs.calls.size(), 1u);
    const auto& call = fp.dialogs.calls[0];
    EXPECT_EQ(call.kind, QStringLiteral("open"));
    EXPECT_EQ(call.title, QStringLiteral("Open Image"));
    EXPECT_TRUE(call.folder.isEmpty());
    EXPECT_EQ(call.owner, &window);
    ASSERT_EQ(call.filters.size(), 1);
    EXPECT_EQ(call.filters[0].description, QStringLiteral("All Graphics"));
    EXPECT_EQ(call.filters[0].masks,
              QStringList({"*.bmp", "*.gif", "*.jpg", "*.rle", "*.emf", "*.wmf"}));

    EXPECT_TRUE(g.imgView(1).picture.sameAs(loaded));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("/home/u/shot.gif"));
    EXPECT_TRUE(g.imgView(0).picture.sameAs(a));
    EXPECT_EQ(g.topIndex(), 1);
    EXPECT_EQ(g.ImageCount, 2);
    EXPECT_EQ(g.SelectedIndex, 1);
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_TRUE(fp.messages.shown.empty());
}

TEST_F(OpenFixture, CancelChangesOnlyTheClipboardFlag) {
    open(QString());
    EXPECT_TRUE(fp.pictures.loads.isEmpty());
    EXPECT_TRUE(g.imgView(1).picture.sameAs(b));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("Image 2"));
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_TRUE(fp.messages.shown.empty());
}

TEST_F(OpenFixture, FileThatIsNoPictureKeepsPictureAndNameAndSaysWhy) {
    fp.files.files[QStringLiteral("/tmp/notes.jpg")] = "text";
    open(QStringLiteral("/tmp/notes.jpg"));
    EXPECT_TRUE(g.imgView(1).picture.sameAs(b));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("Image 2"));
    EXPECT_FALSE(g.IgnoreClipboard);
    ASSERT_EQ(fp.messages.shown.size(), 1u);
    EXPECT_EQ(fp.messages.shown[0].kind, QStringLiteral("warning"));
    EXPECT_EQ(fp.messages.shown[0].title, QStringLiteral("Pictavo"));
    EXPECT_TRUE(fp.messages.shown[0].text.contains(QStringLiteral("/tmp/notes.jpg")));
    EXPECT_TRUE(fp.messages.shown[0].text.contains(QStringLiteral("not a picture")))
        << "the loader's reason: " << fp.messages.shown[0].text.toStdString();
}

TEST_F(OpenFixture, SelectedIndexNamingNoEntryChangesNothing) {
    g.SelectImage(3);
    mnuImageClear_Click(env);
    g.IgnoreClipboard = true;
    fp.pictures.readable[QStringLiteral("/p.bmp")] = solidPicture(2, 2);
    open(QStringLiteral("/p.bmp"));
    EXPECT_EQ(fp.dialogs.calls.size(), 1u) << "the dialog is shown";
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_TRUE(g.imgView(0).isEmpty());
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("Image 1"));
    EXPECT_EQ(g.ImageCount, 0);
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(OpenFixture, LoadsAsAJobAndFillsTheEntrySelectedWhenItBegan) {
    FakeJobs jobs;
    jobs.hold = true;
    env.jobs = &jobs;
    const Picture loaded = solidPicture(9, 7);
    fp.pictures.readable[QStringLiteral("/home/u/photo.jpg")] = loaded;
    open(QStringLiteral("/home/u/photo.jpg"));
    ASSERT_EQ(jobs.heldCount(), 1u);
    EXPECT_TRUE(fp.pictures.loads.isEmpty()) << "nothing is decoded on the window's thread";
    EXPECT_TRUE(g.IgnoreClipboard) << "the flag falls when Open ends";

    g.SelectImage(0); // the window answers the user while the file loads
    ASSERT_TRUE(jobs.finishNext());
    EXPECT_TRUE(g.imgView(1).picture.sameAs(loaded));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("/home/u/photo.jpg"));
    EXPECT_TRUE(g.imgView(0).picture.sameAs(a));
    EXPECT_FALSE(g.IgnoreClipboard);
    EXPECT_TRUE(fp.messages.shown.empty());

    // A capture that lands on the entry meanwhile (the gallery wrapped) is not replaced.
    g.SelectImage(1);
    open(QStringLiteral("/home/u/photo.jpg"));
    const Picture captured = solidPicture(3, 3, 0xff00cc00);
    g.imgView(1).picture = captured;
    ASSERT_TRUE(jobs.finishNext());
    EXPECT_TRUE(g.imgView(1).picture.sameAs(captured));
    ASSERT_EQ(fp.messages.shown.size(), 1u);
    EXPECT_TRUE(fp.messages.shown[0].text.contains(QStringLiteral("was not opened")))
        << fp.messages.shown[0].text.toStdString();
}
