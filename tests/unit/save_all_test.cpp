#include "commands/commands.h"
#include "fakes/fake_output.h"

#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
struct SaveAllFixture : ::testing::Test {
    ThreadSafeFakes fakes;
    FakeFileSystem& fs = fakes.fake.files;
    FakeMainWindow window;
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    CommandEnv env{g, window, fakes.platform};

    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        g.IgnoreClipboard = true;
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    void addPictures(int n) {
        for (int i = 0; i < n; ++i) {
            g.AddImage(solidPicture(10 + i, 10));
            g.imgView(i).toolTipText = QStringLiteral("Image %1").arg(i + 1);
        }
    }
    void saveAllInto(const QString& folder) {
        fakes.fake.dialogs.answers.push_back(folder);
        mnuFileSaveAll_Click(env);
    }
    const std::vector<FakeMessageBox::Shown>& messages() const { return fakes.fake.messages.shown; }
    void expectDone() const {
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].kind, "information");
        EXPECT_EQ(messages()[0].text, "Save all is done.");
        EXPECT_EQ(messages()[0].title, "Pictavo");
    }
};
} // namespace

TEST_F(SaveAllFixture, ThreePicturesIntoTheRootFolder) {
    addPictures(3);
    saveAllInto("/");
    ASSERT_EQ(fakes.fake.dialogs.calls.size(), 1u);
    EXPECT_EQ(fakes.fake.dialogs.calls[0].kind, "folder");
    EXPECT_EQ(fakes.fake.dialogs.calls[0].title,
              "Select folder where you want to save all the images:");
    EXPECT_EQ(fakes.fake.dialogs.calls[0].owner, &window);
    const QStringList expected{"/image_1_12-06-2026_52345.67.jpg",
                               "/image_2_12-06-2026_52345.67.jpg",
                               "/image_3_12-06-2026_52345.67.jpg"};
    EXPECT_EQ(fs.files.keys(), expected) << "no BMP left, no doubled slash";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fs.files.value(expected[i]), "JPEG of BM" + QByteArray::number(10 + i))
            << "entry " << i << " went into its own file";
        EXPECT_EQ(g.imgView(i).toolTipText, QStringLiteral("Image %1").arg(i + 1));
    }
    EXPECT_EQ(fakes.clock.reads(), 3) << "date and time read once per picture";
    expectDone();
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(SaveAllFixture, FolderWithoutSlashAndTimeReadAfreshPerPicture) {
    addPictures(4);
    fakes.clock.stepMs = 10;
    saveAllInto("/home/u/shots");
    const QRegularExpression name(R"(^/home/u/shots/image_([1-4])_12-06-2026_(\d+\.\d+)\.jpg$)");
    QSet<QString> numbers, times;
    for (const QString& f : fs.files.keys()) {
        const auto m = name.match(f);
        ASSERT_TRUE(m.hasMatch()) << f.toStdString();
        numbers.insert(m.captured(1));
        times.insert(m.captured(2));
    }
    EXPECT_EQ(numbers.size(), 4);
    EXPECT_EQ(times.size(), 4) << "each picture has its own time";
    expectDone();
}

TEST_F(SaveAllFixture, EmptyGalleryAndEmptyEntriesAreSkippedNotFailed) {
    saveAllInto("/d");
    EXPECT_TRUE(fs.files.isEmpty());
    EXPECT_TRUE(fakes.fake.converter.calls.empty());
    expectDone();

    fakes.fake.messages.shown.clear();
    addPictures(3);
    g.imgView(1).picture = Picture();
    saveAllInto("/d");
    EXPECT_EQ(fs.files.keys(), (QStringList{"/d/image_1_12-06-2026_52345.67.jpg",
                                            "/d/image_3_12-06-2026_52345.67.jpg"}));
    expectDone();
}

TEST_F(SaveAllFixture, CancelShowsNothingAndWritesNothing) {
    addPictures(2);
    saveAllInto(QString());
    EXPECT_TRUE(fs.files.isEmpty());
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(g.IgnoreClipboard);
}

TEST_F(SaveAllFixture, ExistingFilesOfTheIntermediateNamesAreLeftAlone) {
    addPictures(1);
    fs.files["/d/image_1_12-06-2026_52345.67.bmp"] = "the user's";
    saveAllInto("/d/");
    EXPECT_EQ(fs.files.value("/d/image_1_12-06-2026_52345.67.bmp"), "the user's");
    EXPECT_TRUE(fs.files.contains("/d/image_1_12-06-2026_52345.67.jpg"));
    EXPECT_EQ(fs.files.size(), 2);
    expectDone();
}

TEST_F(SaveAllFixture, FailuresAreCountedTheFolderNamedAndBitmapsKept) {
    addPictures(3);
    fakes.fake.pictures.failWritesUnder = {"/ro/"};
    saveAllInto("/ro");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].kind, "warning");
    EXPECT_EQ(messages()[0].title, "Pictavo");
    EXPECT_TRUE(messages()[0].text.startsWith("3 of 3 pictures were not saved in /ro/."))
        << messages()[0].text.toStdString();
    EXPECT_TRUE(messages()[0].text.contains("Permission denied"));
    EXPECT_TRUE(fs.files.isEmpty());
    EXPECT_FALSE(g.IgnoreClipboard);

    // A failed conversion keeps each picture in its intermediate bitmap.
    fakes.fake.messages.shown.clear();
    fakes.fake.converter.works = false;
    saveAllInto("/d");
    ASSERT_EQ(messages().size(), 1u);
    const QString text = messages()[0].text;
    EXPECT_TRUE(text.startsWith("3 of 3 pictures were not saved in /d/.")) << text.toStdString();
    EXPECT_TRUE(text.contains("converter failed"));
    EXPECT_TRUE(text.contains("kept there as BMP files"));
    ASSERT_EQ(fs.files.size(), 3);
    for (const QString& f : fs.files.keys())
        EXPECT_TRUE(f.startsWith("/d/image_") && f.endsWith(".bmp")) << f.toStdString();
}

namespace {
// Fails for one picture only, to see a partial result counted right.
class PickyConverter final : public IConverter {
public:
    IConverter& inner;
    explicit PickyConverter(IConverter& c) : inner(c) {}
    bool BmpToJpeg(const QString& bmp, const QString& jpeg, int s, QString* error) override {
        if (jpeg.contains("/image_2_")) {
            *error = QStringLiteral("refused");
            return false;
        }
        return inner.BmpToJpeg(bmp, jpeg, s, error);
    }
};
} // namespace

TEST_F(SaveAllFixture, PartialFailureCountsOnlyTheFailedPictures) {
    addPictures(3);
    PickyConverter picky(fakes.converter);
    Platform p = fakes.platform;
    Platform platform{p.clipboard, p.clock, p.files,   p.pictures, p.dialogs,
                      p.messages,  p.shell, p.printer, picky};
    CommandEnv pickyEnv{g, window, platform};
    fakes.fake.dialogs.answers.push_back("/d");
    mnuFileSaveAll_Click(pickyEnv);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith("1 of 3 pictures were not saved in /d/."))
        << messages()[0].text.toStdString();
    EXPECT_TRUE(messages()[0].text.contains("image_2_12-06-2026_52345.67.jpg: refused"));
    EXPECT_TRUE(fs.files.contains("/d/image_1_12-06-2026_52345.67.jpg"));
    EXPECT_TRUE(fs.files.contains("/d/image_3_12-06-2026_52345.67.jpg"));
}

TEST_F(SaveAllFixture, TheLocalesDecimalSeparatorIsUsed) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    addPictures(1);
    saveAllInto("/d");
    EXPECT_EQ(fs.files.keys(), QStringList{"/d/image_1_12-06-2026_52345,67.jpg"});
}

namespace {
// The chosen folder disappears as soon as a picture's files are in place.
class VanishingFolder final : public IConverter {
public:
    VanishingFolder(IConverter& inner, FakeFileSystem& files) : m_inner(inner), m_files(files) {}
    bool BmpToJpeg(const QString& bmp, const QString& jpeg, int setting, QString* error) override {
        const bool converted = m_inner.BmpToJpeg(bmp, jpeg, setting, error);
        std::lock_guard held(m_files.lock);
        m_files.files.clear();
        return converted;
    }

private:
    IConverter& m_inner;
    FakeFileSystem& m_files;
};
} // namespace

TEST_F(SaveAllFixture, AVanishedFolderIsReportedAsItIs) {
    // One picture: a single worker, so the order of events is fixed.
    addPictures(1);
    Platform p = fakes.platform;
    VanishingFolder vanishing(p.converter, fs);
    Platform platform{p.clipboard, p.clock, p.files,   p.pictures, p.dialogs,
                      p.messages,  p.shell, p.printer, vanishing};
    CommandEnv vanishingEnv{g, window, platform};
    for (const bool converts : {true, false}) {
        fakes.fake.converter.works = converts;
        fakes.fake.messages.shown.clear();
        fakes.fake.dialogs.answers.push_back("/d");
        mnuFileSaveAll_Click(vanishingEnv);
        ASSERT_EQ(messages().size(), 1u);
        const QString text = messages()[0].text;
        EXPECT_TRUE(text.startsWith("1 of 1 pictures were not saved in /d/."))
            << text.toStdString();
        EXPECT_FALSE(text.contains("kept there")) << "no BMP file is there: " << text.toStdString();
    }
}
