#include "app/form_capture.h"
#include "commands/picture_prefetch.h"
#include "fakes/fake_platform.h"
#include "gallery/key_dispatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>

namespace {

struct BrowseFixture : ::testing::Test {
    FakePlatform fp;
    FakeMainWindow window;
    FakeViewerHost viewers;
    formCapture form{window, fp.platform, viewers};
    Gallery& g = form.gallery();
    int yields = 0;
    /** Runs at the given yield of Browse (1 = after the first picture). */
    std::map<int, std::function<void()>> atYield;

    BrowseFixture() {
        window.onProcessEvents = [this] {
            // Each yield takes longer than the caption waits, so every count is shown.
            fp.clock.ms += 100;
            EXPECT_FALSE(window.isMenuEnabled(Command::Browse)) << "entry disabled while loading";
            EXPECT_TRUE(window.busy);
            auto it = atYield.find(++yields);
            if (it != atYield.end())
                it->second();
        };
    }
    Picture addFile(const QString& path, QRgb colour = 0xff112233) {
        const Picture p = solidPicture(8, 6, colour);
        fp.files.files[path] = "picture";
        fp.pictures.readable[path] = p;
        return p;
    }
    void addDamagedFile(const QString& path) { fp.files.files[path] = "garbage"; }
    void browse(const QString& folder) {
        fp.dialogs.answers.push_back(folder);
        form.menuCommand(Command::Browse);
    }
    void expectFinished() {
        EXPECT_EQ(window.title, QStringLiteral("Pictavo"));
        EXPECT_FALSE(window.busy);
        EXPECT_TRUE(window.isMenuEnabled(Command::Browse));
    }
};

} // namespace

TEST_F(BrowseFixture, LoadsJpegThenBmpThenGifAndCountsInTheCaption) {
    // An earlier picture, a selection and a name on entry 0 that Browse's Clear empties.
    g.AddImage(solidPicture(2, 2));
    g.AddImage(solidPicture(2, 2));
    g.imgView(0).toolTipText = QStringLiteral("Image 1");
    g.SelectImage(1);
    g.IgnoreClipboard = true;
    const Picture gif = addFile(QStringLiteral("/pics/a.gif"), 0xff000001);
    const Picture bmp = addFile(QStringLiteral("/pics/b.bmp"), 0xff000002);
    const Picture jpg1 = addFile(QStringLiteral("/pics/c.jpg"), 0xff000003);
    const Picture jpg2 = addFile(QStringLiteral("/pics/d.JPG"), 0xff000004);
    addFile(QStringLiteral("/pics/e.png"));
    addFile(QStringLiteral("/pics/sub/f.jpg"));

    browse(QStringLiteral("/pics"));

    ASSERT_EQ(fp.dialogs.calls.size(), 1u);
    EXPECT_EQ(fp.dialogs.calls[0].kind, QStringLiteral("folder"));
    EXPECT_EQ(fp.dialogs.calls[0].title, QStringLiteral("Select the desired folder:"));
    EXPECT_EQ(fp.dialogs.calls[0].owner, &window);
    EXPECT_EQ(window.captions,
              QStringList({"Loading Images...", "Loading Image 1", "Loading Image 2",
                           "Loading Image 3", "Loading Image 4", "Pictavo"}));
    EXPECT_EQ(window.pointer, std::vector<bool>({true, false}));
    expectFinished();
    ASSERT_EQ(g.topIndex(), 3);
    EXPECT_EQ(g.ImageCount, 4);
    const Picture expected[] = {jpg1, jpg2, bmp, gif};
    const char* names[] = {"/pics/c.jpg", "/pics/d.JPG", "/pics/b.bmp", "/pics/a.gif"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(g.imgView(i).picture.sameAs(expected[i])) << i;
        EXPECT_EQ(g.imgView(i).toolTipText, QString::fromLatin1(names[i])) << i;
    }
    EXPECT_EQ(g.SelectedIndex, 1) << "Browse selects nothing";
    EXPECT_FALSE(g.shpSelected.visible);
    EXPECT_FALSE(g.IgnoreClipboard) << "cleared by the Clear that Browse runs";
}

TEST_F(BrowseFixture, FolderWithClosingSlashGivesTheSamePaths) {
    addFile(QStringLiteral("/pics/a.jpg"));
    browse(QStringLiteral("/pics/"));
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("/pics/a.jpg"));
    EXPECT_EQ(fp.pictures.loads, QStringList({"/pics/a.jpg"}));
}

TEST_F(BrowseFixture, CancelOnlyFinishes) {
    const Picture kept = solidPicture(3, 3);
    g.AddImage(kept);
    g.IgnoreClipboard = true;
    browse(QString());
    EXPECT_EQ(window.captions, QStringList({"Pictavo"}));
    expectFinished();
    EXPECT_TRUE(g.imgView(0).picture.sameAs(kept));
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_TRUE(g.IgnoreClipboard);
}

TEST_F(BrowseFixture, EmptyFolderEmptiesTheGallery) {
    g.AddImage(solidPicture(3, 3));
    g.AddImage(solidPicture(3, 3));
    browse(QStringLiteral("/empty"));
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_TRUE(g.imgView(0).isEmpty());
    EXPECT_EQ(g.ImageCount, 0);
    EXPECT_EQ(window.captions, QStringList({"Loading Images...", "Pictavo"}));
    expectFinished();
}

TEST_F(BrowseFixture, StopsAtTheFirstFileThatCannotBeLoaded) {
    addFile(QStringLiteral("/pics/a.jpg"));
    addDamagedFile(QStringLiteral("/pics/b.jpg"));
    addFile(QStringLiteral("/pics/c.jpg"));
    addFile(QStringLiteral("/pics/d.bmp"));
    addFile(QStringLiteral("/pics/e.gif"));
    browse(QStringLiteral("/pics"));
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("/pics/a.jpg"));
    EXPECT_EQ(window.captions, QStringList({"Loading Images...", "Loading Image 1", "Pictavo"}));
    EXPECT_FALSE(fp.pictures.loads.contains(QStringLiteral("/pics/d.bmp")))
        << "later patterns are not even listed";
    expectFinished();
    ASSERT_EQ(fp.messages.shown.size(), 1u);
    EXPECT_EQ(fp.messages.shown[0].kind, QStringLiteral("warning"));
    EXPECT_EQ(fp.messages.shown[0].text,
              QStringLiteral("Loading stopped at \"/pics/b.jpg\", which could not be opened: "
                             "not a picture."));
}

TEST_F(BrowseFixture, StopsWhenTheWindowIsFullAndNamesTheStartedOverEntry) {
    // Two columns and two rows: four entries.
    window.outerWidth = 30 + 1110 + 60 + 1110;
    window.outerHeight = 45 + 870 + 60 + 870 + 1;
    QList<Picture> pictures;
    for (int i = 0; i < 7; ++i)
        pictures.append(addFile(QStringLiteral("/pics/%1.jpg").arg(i), 0xff000000u + i));
    browse(QStringLiteral("/pics"));
    EXPECT_EQ(window.captions.mid(window.captions.size() - 2),
              QStringList({"Loading Image 4", "Pictavo"}));
    EXPECT_EQ(g.topIndex(), 3) << "no entry without room";
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_TRUE(g.imgView(0).picture.sameAs(pictures[4]));
    // Entry 0 shows the fifth file, so it must not keep the first file's name.
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("/pics/4.jpg"));
    expectFinished();
    EXPECT_TRUE(fp.messages.shown.empty());
}

TEST_F(BrowseFixture, EscStopsAfterThePictureBeingLoaded) {
    for (int i = 0; i < 5; ++i)
        addFile(QStringLiteral("/pics/%1.jpg").arg(i));
    atYield[2] = [this] { form.Form_KeyDown(keys::Esc, 0); };
    browse(QStringLiteral("/pics"));
    EXPECT_EQ(g.ImageCount, 2);
    EXPECT_EQ(g.topIndex(), 1);
    EXPECT_EQ(window.captions.mid(window.captions.size() - 2),
              QStringList({"Loading Image 2", "Pictavo"}));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("/pics/1.jpg"));
    expectFinished();
    EXPECT_TRUE(fp.messages.shown.empty()) << "Esc is no failure";

    // The next Browse starts afresh.
    yields = 0;
    atYield.clear();
    browse(QStringLiteral("/pics"));
    EXPECT_EQ(g.ImageCount, 5);
}

TEST_F(BrowseFixture, CaptureDuringTheYieldKeepsItsOwnName) {
    const Picture a = addFile(QStringLiteral("/pics/a.jpg"));
    const Picture b = addFile(QStringLiteral("/pics/b.jpg"));
    const Picture capture = solidPicture(5, 5, 0xffabcdef);
    atYield[1] = [&] {
        fp.clipboard.put(capture);
        form.Timer1_Timer();
    };
    browse(QStringLiteral("/pics"));
    ASSERT_EQ(g.topIndex(), 2);
    EXPECT_TRUE(g.imgView(0).picture.sameAs(a));
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("/pics/a.jpg"));
    EXPECT_TRUE(g.imgView(1).picture.sameAs(capture));
    EXPECT_EQ(g.imgView(1).toolTipText, QStringLiteral("Image 2"));
    EXPECT_TRUE(g.imgView(2).picture.sameAs(b));
    EXPECT_EQ(g.imgView(2).toolTipText, QStringLiteral("/pics/b.jpg"));
    EXPECT_EQ(window.captions.mid(1, 2), QStringList({"Loading Image 1", "Loading Image 3"}));
}

TEST_F(BrowseFixture, DeleteAndClearDuringTheYield) {
    for (int i = 0; i < 4; ++i)
        addFile(QStringLiteral("/pics/%1.jpg").arg(i), 0xff000000u + i);
    atYield[2] = [this] {
        g.SelectImage(1);
        form.menuCommand(Command::Delete); // removes the entry Browse is about to name
    };
    atYield[3] = [this] { form.menuCommand(Command::Clear); };
    browse(QStringLiteral("/pics"));
    // 0 -> entry 0; 1 -> entry 1, then deleted; 2 -> a new entry 1, then cleared; 3 -> entry 0.
    EXPECT_EQ(g.topIndex(), 0);
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_TRUE(
        g.imgView(0).picture.sameAs(fp.pictures.readable.value(QStringLiteral("/pics/3.jpg"))));
    EXPECT_EQ(g.imgView(0).toolTipText, QStringLiteral("/pics/3.jpg"));
    EXPECT_EQ(window.captions.mid(window.captions.size() - 3),
              QStringList({"Loading Image 2", "Loading Image 1", "Pictavo"}));
    expectFinished();
}

// Save All and Copy run on what the gallery holds at that moment; closing the window
// ends the Browse, which loads nothing into a window that is gone.
TEST_F(BrowseFixture, SaveAllCopyAndClosingTheWindowDuringTheYield) {
    for (int i = 0; i < 6; ++i)
        addFile(QStringLiteral("/pics/%1.jpg").arg(i), 0xff000000u + i);
    int atSaveAll = -1;
    int atClose = -1;
    atYield[2] = [&] {
        atSaveAll = g.ImageCount;
        fp.dialogs.answers.push_back(QStringLiteral("/out"));
        form.menuCommand(Command::SaveAll);
    };
    atYield[3] = [this] {
        g.SelectImage(0);
        form.menuCommand(Command::Copy);
    };
    atYield[4] = [&] {
        atClose = g.ImageCount;
        form.Form_Unload();
    };
    browse(QStringLiteral("/pics"));

    QStringList saved;
    for (const QString& f : fp.files.files.keys())
        if (f.startsWith(QLatin1String("/out/")))
            saved.append(f);
    ASSERT_GT(atSaveAll, 0);
    EXPECT_EQ(saved.size(), atSaveAll) << saved.join(u',').toStdString();
    EXPECT_TRUE(fp.clipboard.content.sameAs(fp.pictures.readable.value("/pics/0.jpg")));
    EXPECT_EQ(g.ImageCount, atClose) << "Browse went on loading after the window closed";
    expectFinished();
}

// Pictures that load faster than a frame share one caption and one repaint; the last
// count still comes before the title.
TEST_F(BrowseFixture, CountsWithinOneFrameAreShownOnce) {
    for (int i = 0; i < 5; ++i)
        addFile(QStringLiteral("/pics/%1.jpg").arg(i));
    window.onProcessEvents = [] {};
    const int repaintsBefore = window.repaints;
    browse(QStringLiteral("/pics"));
    EXPECT_EQ(g.ImageCount, 5);
    EXPECT_EQ(window.captions,
              QStringList({"Loading Images...", "Loading Image 1", "Loading Image 5", "Pictavo"}));
    EXPECT_EQ(window.repaints - repaintsBefore, 4)
        << "Clear, the first picture, the last, the end of the command";
}

// A picture a frame: the gallery shows each, the caption's count only a few a second
// (a new title is drawn again by the window manager), and the last before the title.
TEST_F(BrowseFixture, TheCaptionCountsMoreSlowlyThanTheGalleryShows) {
    for (int i = 0; i < 12; ++i)
        addFile(QStringLiteral("/pics/%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    window.onProcessEvents = [this] { fp.clock.ms += 20; };
    const int repaintsBefore = window.repaints;
    browse(QStringLiteral("/pics"));
    EXPECT_EQ(g.ImageCount, 12);
    EXPECT_EQ(window.captions,
              QStringList({"Loading Images...", "Loading Image 1", "Loading Image 6",
                           "Loading Image 11", "Loading Image 12", "Pictavo"}));
    EXPECT_EQ(window.repaints - repaintsBefore, 14) << "Clear, every picture, the end";
}

TEST_F(BrowseFixture, CtrlBDuringBrowseStartsNoSecondOne) {
    addFile(QStringLiteral("/pics/a.jpg"));
    addFile(QStringLiteral("/pics/b.jpg"));
    fp.dialogs.answers = {QStringLiteral("/pics"), QStringLiteral("/other")};
    atYield[1] = [this] { form.Form_KeyDown(keys::B, keys::CtrlMask); };
    form.menuCommand(Command::Browse);
    EXPECT_EQ(fp.dialogs.calls.size(), 1u);
    EXPECT_EQ(g.ImageCount, 2);
}

namespace {

/** Loads that finish only when the test lets them, to see them run side by side. */
class GatedPictures final : public IPictureFiles {
public:
    std::mutex m;
    std::condition_variable cv;
    QStringList finished;
    QStringList started;

    Picture load(const QString& path, QString* error) override {
        std::unique_lock lock(m);
        started.append(path);
        cv.notify_all();
        // The first file waits until the second one has been loaded.
        if (path == QLatin1String("a"))
            cv.wait_for(lock, std::chrono::seconds(10), [this] { return finished.contains("b"); });
        finished.append(path);
        cv.notify_all();
        if (path == QLatin1String("bad")) {
            *error = QStringLiteral("damaged");
            return {};
        }
        return solidPicture(1, 1, 0xff000000u + path.at(0).unicode());
    }
    bool writeBmp(const Picture&, const QString&, QString*) override { return false; }
    std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture&, const QString&,
                                                          QString*) override {
        return nullptr;
    }
};

} // namespace

TEST(PicturePrefetch, LoadsAheadInParallelAndHandsOutInOrder) {
    GatedPictures pictures;
    {
        PicturePrefetch prefetch(pictures, {"a", "b", "bad", "c"}, 2);
        const LoadedPicture a = *prefetch.takeNext();
        EXPECT_EQ(a.picture.toImage().pixel(0, 0), 0xff000000u + 'a');
        {
            std::lock_guard lock(pictures.m);
            EXPECT_EQ(pictures.finished.first(), QStringLiteral("b")) << "b loaded while a waited";
        }
        EXPECT_EQ(prefetch.takeNext()->picture.toImage().pixel(0, 0), 0xff000000u + 'b');
        const LoadedPicture bad = *prefetch.takeNext();
        EXPECT_TRUE(bad.picture.isNull());
        EXPECT_EQ(bad.error, QStringLiteral("damaged"));
        EXPECT_FALSE(prefetch.atEnd());
        // Leaving with "c" maybe still loading: a prefetch with its own pool waits for it.
    }
    std::lock_guard lock(pictures.m);
    EXPECT_EQ(pictures.started.size(), pictures.finished.size());
}

namespace {

/** Loads that end only once the test lets them (or after a long while). */
class HeldPictures final : public IPictureFiles {
public:
    std::mutex m;
    std::condition_variable cv;
    bool released = false;
    QStringList started, finished;

    Picture load(const QString& path, QString*) override {
        std::unique_lock lock(m);
        started.append(path);
        cv.wait_for(lock, std::chrono::seconds(5), [this] { return released; });
        finished.append(path);
        return solidPicture(1, 1);
    }
    bool writeBmp(const Picture&, const QString&, QString*) override { return false; }
    std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture&, const QString&,
                                                          QString*) override {
        return nullptr;
    }
    void release() {
        std::lock_guard lock(m);
        released = true;
        cv.notify_all();
    }
};

} // namespace

// Esc must not wait for a decode that may take seconds: the loads given up on end on
// their workers, the pool's owner waits for them, and none not yet begun begins.
TEST(PicturePrefetch, GivingUpWaitsForNoLoad) {
    HeldPictures pictures;
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    {
        PicturePrefetch prefetch(pictures, {"a", "b", "c", "d", "e"}, 3, &pool);
        int polls = 0;
        EXPECT_FALSE(prefetch.takeNext([&polls] { return ++polls < 3; }).has_value());
    }
    {
        std::lock_guard lock(pictures.m);
        EXPECT_TRUE(pictures.finished.isEmpty()) << "the abandoned loads were waited for";
    }
    pictures.release();
    ASSERT_TRUE(pool.waitForDone(20000));
    std::lock_guard lock(pictures.m);
    EXPECT_EQ(pictures.finished.size(), pictures.started.size());
    EXPECT_LE(pictures.started.size(), 2);
}
