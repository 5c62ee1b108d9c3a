#include "commands/commands.h"
#include "fakes/fake_output.h"
#include "platform/temporary_files.h"

#include <gtest/gtest.h>

namespace {
struct SaveFixture : ::testing::Test {
    ThreadSafeFakes fakes;
    FakeFileSystem& fs = fakes.fake.files;
    FakeMainWindow window;
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    CommandEnv env{g, window, fakes.platform};
    Picture picture = solidPicture(40, 30);

    void SetUp() override {
        g.AddImage(picture);
        g.imgView(0).toolTipText = QStringLiteral("Image 1");
        g.IgnoreClipboard = true;
    }
    void saveAs(const QString& answer) {
        fakes.fake.dialogs.answers.push_back(answer);
        mnuFileSave_Click(env);
    }
    QStringList filesIn(const QString& folder) const {
        QStringList out;
        for (const QString& f : fs.files.keys())
            if (f.startsWith(folder))
                out.append(f);
        return out;
    }
    const std::vector<FakeMessageBox::Shown>& messages() const { return fakes.fake.messages.shown; }
};
} // namespace

TEST_F(SaveFixture, DialogGetsTheProposedNameAndTheFixedTexts) {
    g.imgView(0).toolTipText = QStringLiteral("Image 12");
    saveAs(QString());
    ASSERT_EQ(fakes.fake.dialogs.calls.size(), 1u);
    const FakeDialogs::Call& call = fakes.fake.dialogs.calls[0];
    EXPECT_EQ(call.kind, "save");
    EXPECT_EQ(call.defaultName, "Imag.jpg");
    EXPECT_EQ(call.title, "Save Image");
    EXPECT_EQ(call.folder, "");
    EXPECT_EQ(call.owner, &window);
    const QList<FileFilter> filters{{"JPEG Image (*.jpg)", {"*.jpg"}},
                                    {"Bitmap Image (*.bmp)", {"*.bmp"}}};
    EXPECT_EQ(call.filters, filters);
    // Cancelled: nothing written, nothing renamed, only the flag cleared.
    EXPECT_TRUE(fs.files.isEmpty());
    EXPECT_EQ(g.imgView(0).toolTipText, "Image 12");
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(SaveFixture, NoDialogWhenNoNameCanBeFormed) {
    for (const QString& text : {QString(), QStringLiteral("abc")}) {
        g.imgView(0).toolTipText = text;
        g.IgnoreClipboard = true;
        mnuFileSave_Click(env);
        EXPECT_TRUE(fakes.fake.dialogs.calls.empty()) << text.toStdString();
        EXPECT_FALSE(g.IgnoreClipboard);
    }
    g.imgView(0).toolTipText = QStringLiteral("Image 1");
    for (std::int16_t index : {std::int16_t(1), std::int16_t(-1)}) {
        g.SelectedIndex = index;
        g.IgnoreClipboard = true;
        mnuFileSave_Click(env);
        EXPECT_TRUE(fakes.fake.dialogs.calls.empty()) << index;
        EXPECT_FALSE(g.IgnoreClipboard);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(SaveFixture, BmpNamesAreWrittenExactlyWithoutTheConverter) {
    saveAs(QStringLiteral("/d/Shot.BMP"));
    EXPECT_EQ(fs.files.keys(), QStringList{"/d/Shot.BMP"});
    EXPECT_TRUE(fakes.fake.pictures.readable.value("/d/Shot.BMP").sameAs(picture));
    EXPECT_TRUE(fakes.fake.converter.calls.empty());
    EXPECT_EQ(g.imgView(0).toolTipText, "/d/Shot.BMP");
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(SaveFixture, JpegNamesGoThroughAUniqueIntermediateThatIsRemoved) {
    saveAs(QStringLiteral("/d/Shot.JPG"));
    ASSERT_EQ(fakes.fake.converter.calls.size(), 1u);
    const auto [bmp, jpeg] = fakes.fake.converter.calls[0];
    EXPECT_EQ(jpeg, "/d/Shot.JPG") << "the name keeps its capitals";
    EXPECT_TRUE(bmp.startsWith("/d/")) << "intermediate beside the target: " << bmp.toStdString();
    EXPECT_TRUE(isTemporaryName(bmp.mid(3).toStdString()))
        << "hidden, of the program's own pattern: " << bmp.toStdString();
    EXPECT_EQ(fs.files.keys(), QStringList{"/d/Shot.JPG"}) << "the intermediate file is gone";
    EXPECT_EQ(fs.files.value("/d/Shot.JPG"), "JPEG of BM40");
    EXPECT_EQ(g.imgView(0).toolTipText, "/d/Shot.JPG");
    EXPECT_TRUE(messages().empty());
}

TEST_F(SaveFixture, OtherExtensionsGetJpgAppended) {
    for (const QString& typed : {QStringLiteral("/d/photo"), QStringLiteral("/d/pic.jpeg"),
                                 QStringLiteral("/d/pic.png")}) {
        fs.files.clear();
        saveAs(typed);
        EXPECT_EQ(fs.files.keys(), QStringList{typed + ".jpg"});
        EXPECT_EQ(g.imgView(0).toolTipText, typed + ".jpg");
    }
    // A later Save proposes the saved path again.
    saveAs(QString());
    EXPECT_EQ(fakes.fake.dialogs.calls.back().defaultName, "/d/pic.png.jpg");
}

TEST_F(SaveFixture, AppendedJpgNeverReplacesAFileUnasked) {
    // An empty file too: it is the user's, whatever it holds.
    for (const QByteArray& older : {QByteArray("an older photo"), QByteArray()}) {
        fs.files["/d/photo.jpg"] = older;
        fakes.fake.messages.shown.clear();
        saveAs(QStringLiteral("/d/photo"));
        EXPECT_EQ(fs.files.keys(), QStringList{"/d/photo.jpg"});
        EXPECT_EQ(fs.files.value("/d/photo.jpg"), older);
        EXPECT_TRUE(fakes.fake.converter.calls.empty());
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("/d/photo.jpg"))
            << messages()[0].text.toStdString();
        EXPECT_EQ(g.imgView(0).toolTipText, "Image 1");
    }

    // The full name, which the dialog confirmed, replaces it.
    saveAs(QStringLiteral("/d/photo.jpg"));
    EXPECT_EQ(fs.files.value("/d/photo.jpg"), "JPEG of BM40");
    EXPECT_EQ(g.imgView(0).toolTipText, "/d/photo.jpg");
}

TEST_F(SaveFixture, SavingAJpegLeavesAFileOfTheSameNameAsBmpAlone) {
    fs.files["/d/a.bmp"] = "the user's own bitmap";
    fs.files["/d/a.jpg.bmp"] = "another one";
    saveAs(QStringLiteral("/d/a.jpg"));
    ASSERT_EQ(fakes.fake.converter.calls.size(), 1u);
    EXPECT_NE(fakes.fake.converter.calls[0].first, "/d/a.bmp");
    EXPECT_EQ(fs.files.value("/d/a.bmp"), "the user's own bitmap");
    EXPECT_EQ(fs.files.value("/d/a.jpg.bmp"), "another one");
    EXPECT_EQ(fs.files.size(), 3);
    EXPECT_TRUE(fs.files.contains("/d/a.jpg"));

    fs.files.remove("/d/a.jpg");
    saveAs(QStringLiteral("/d/a"));
    EXPECT_EQ(fs.files.value("/d/a.bmp"), "the user's own bitmap");
    EXPECT_EQ(fs.files.value("/d/a.jpg"), "JPEG of BM40");
    EXPECT_TRUE(messages().empty());
}

TEST_F(SaveFixture, FailedWriteIsToldAndRenamesNothing) {
    fakes.fake.pictures.failWritesUnder = {"/ro/"};
    fs.files["/ro/old.jpg"] = "kept";
    for (const QString& typed : {QStringLiteral("/ro/new.bmp"), QStringLiteral("/ro/old.jpg")}) {
        saveAs(typed);
        ASSERT_FALSE(messages().empty());
        const auto& shown = messages().back();
        EXPECT_EQ(shown.kind, "warning");
        EXPECT_EQ(shown.title, "Pictavo");
        EXPECT_TRUE(shown.text.contains(typed)) << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains("Permission denied")) << shown.text.toStdString();
        EXPECT_EQ(g.imgView(0).toolTipText, "Image 1");
        EXPECT_FALSE(g.IgnoreClipboard);
    }
    EXPECT_TRUE(fakes.fake.converter.calls.empty());
    EXPECT_EQ(fs.files.keys(), QStringList{"/ro/old.jpg"});
    EXPECT_EQ(fs.files.value("/ro/old.jpg"), "kept");
}

TEST_F(SaveFixture, FailedConversionKeepsTheBitmapAndSaysWhere) {
    fakes.fake.converter.works = false;
    fs.files["/d/a.jpg"] = "an older JPEG";
    saveAs(QStringLiteral("/d/a.jpg"));
    ASSERT_EQ(fakes.fake.converter.calls.size(), 1u);
    // The intermediate file, under a name the user sees, still holds the picture.
    ASSERT_EQ(fs.files.size(), 2);
    const QString kept =
        fs.files.lastKey() == "/d/a.jpg" ? fs.files.firstKey() : fs.files.lastKey();
    EXPECT_TRUE(kept.startsWith("/d/a.") && kept.endsWith(".bmp")) << kept.toStdString();
    EXPECT_EQ(fs.files.value(kept), "BM40");
    EXPECT_EQ(fs.files.value("/d/a.jpg"), "an older JPEG");
    EXPECT_EQ(g.imgView(0).toolTipText, "Image 1")
        << "an older file of that name is no proof of this save";
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].kind, "warning");
    EXPECT_TRUE(messages()[0].text.contains("/d/a.jpg"));
    EXPECT_TRUE(messages()[0].text.contains("converter failed"));
    EXPECT_TRUE(messages()[0].text.contains(kept)) << messages()[0].text.toStdString();
}

TEST_F(SaveFixture, EntryWithoutAPictureWritesNothingAndSaysSo) {
    g.imgView(0).picture = Picture();
    saveAs(QStringLiteral("/d/empty.jpg"));
    EXPECT_TRUE(fs.files.isEmpty());
    EXPECT_TRUE(fakes.fake.converter.calls.empty());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains("/d/empty.jpg"));
    EXPECT_EQ(g.imgView(0).toolTipText, "Image 1");
}
