// The main window while Save, Save All, Print and Copy work on large photos,
// and the zoom window while the user moves through many of them: it keeps
// answering, holds few decodes at once, and closing it ends cleanly.
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "gallery/key_dispatch.h"
#include "test_pictures.h"
#include "viewer_support.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A stall longer than this is one the user feels as a frozen window. On a machine busy
// with other work the scheduler alone can hold the window that long, but a window that
// waited for the job would stall for most of the job's time: the bound grows with it.
constexpr qint64 kMaxStallMs = 200;

struct Stall {
    qint64 longest = 0;
    qint64 job = 0; // from the command to the end of its job
    qint64 bound() const { return std::max(kMaxStallMs, job / 3); }
};

QString printTitle() {
    return QStringLiteral("PictavoJobs%1").arg(QCoreApplication::applicationPid());
}

/** Starts CUPS with its PDF printer; the folder the pages land in, or "". */
QString startPrinter() {
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral(INTEGRATION_SCRIPTS "/start_cups.sh")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed().split('\n').last();
}

QStringList printedPages(const QString& folder) {
    return QDir(folder).entryList({printTitle() + "*.pdf"}, QDir::Files);
}

struct Rig {
    QtPlatform qt;
    FakeDialogs dialogs;
    FakeMessageBox messages;
    QtPrinter printer{printTitle()};
    Platform platform{qt.clipboard, qt.clock, qt.files, qt.pictures, dialogs,
                      messages,     qt.shell, printer,  qt.converter};
    CaptureWindow window;
    QtViewerHost viewers{window};
    formCapture form{window, platform, viewers, &qt.jobs};
    Gallery& g = form.gallery();
    QTemporaryDir folder;

    Rig() {
        viewers.attach(g, platform);
        window.attach(g, form);
        window.resize(632, 453);
        window.show();
    }
    ~Rig() { viewers.closeAll(); }

    /** A photo of w x h held as its JPEG file, as Open and Browse hold one. */
    Picture photo(int w, int h, quint32 seed) {
        const QString path = folder.filePath(QStringLiteral("photo%1.jpg").arg(seed));
        testpics::writeFile(path, testpics::jpegOf(testpics::photoLike(w, h, seed), false));
        QString error;
        return qt.pictures.load(path, &error);
    }

    /** Runs command from the event loop, as a key press would, and gives the longest
        time the loop went without serving a 5 ms timer until finished() holds. */
    Stall longestStall(Command command, const std::function<bool()>& finished) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longest = 0;
        QTimer beat;
        beat.setInterval(5);
        QObject::connect(&beat, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        beat.start();
        bool ran = false;
        QTimer::singleShot(0, &window, [this, command, &ran] {
            form.menuCommand(command);
            ran = true;
        });
        EXPECT_TRUE(waitFor([&] { return ran && !form.jobRunning() && finished(); }, 120000));
        return {std::max(longest, clock.elapsed() - last), clock.elapsed()};
    }
};

int threadsOfThisProcess() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

} // namespace

TEST(WindowDuringJobs, AnswersWhileSaveAllSavePrintAndCopyWorkOnPhotos) {
    const QString pages = startPrinter();
    ASSERT_FALSE(pages.isEmpty()) << "no CUPS printer to print on";
    Rig rig;
    ASSERT_TRUE(rig.folder.isValid());
    // 24 megapixels, the size of a camera's photo.
    const Picture photo = rig.photo(6000, 4000, 1);
    ASSERT_TRUE(photo.isHeldAsFile());
    for (quint32 i = 0; i < 4; ++i)
        rig.g.AddImage(i == 0 ? photo : rig.photo(6000, 4000, 1));
    const QString out = rig.folder.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));

    rig.dialogs.answers.push_back(out);
    const Stall saveAll =
        rig.longestStall(Command::SaveAll, [&] { return !rig.messages.shown.empty(); });
    EXPECT_LT(saveAll.longest, saveAll.bound()) << "Save All of four photos";
    EXPECT_EQ(QDir(out).entryList({"*.jpg"}, QDir::Files).size(), 4);
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, QStringLiteral("Save all is done."));

    rig.g.imgView(0).toolTipText = rig.folder.filePath(QStringLiteral("one.jpg"));
    rig.dialogs.answers.push_back(rig.folder.filePath(QStringLiteral("one.jpg")));
    const Stall save = rig.longestStall(Command::Save, [] { return true; });
    EXPECT_LT(save.longest, save.bound()) << "Save of a photo";
    EXPECT_GT(QFile(rig.folder.filePath(QStringLiteral("one.jpg"))).size(), 0);

    const Stall print = rig.longestStall(Command::Print, [] { return true; });
    EXPECT_LT(print.longest, print.bound()) << "Print of a photo";
    EXPECT_TRUE(waitFor([&] { return !printedPages(pages).isEmpty(); }, 60000));
    for (const QString& page : printedPages(pages))
        QFile::remove(QDir(pages).filePath(page));

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const Stall copy = rig.longestStall(Command::Copy, [&] {
        return clipboard->ownsClipboard() && clipboard->mimeData()->hasImage();
    });
    EXPECT_LT(copy.longest, copy.bound()) << "Copy of a photo";
    EXPECT_EQ(clipboard->image().size(), QSize(6000, 4000));
    for (std::size_t i = 1; i < rig.messages.shown.size(); ++i)
        ADD_FAILURE() << "reported: " << rig.messages.shown[i].text.toStdString();
}

TEST(WindowDuringJobs, ArrowKeysThroughPhotosKeepFewDecodesAlive) {
    Rig rig;
    const Picture first = rig.photo(4000, 3000, 7);
    ASSERT_TRUE(first.isHeldAsFile());
    constexpr int kPhotos = 24;
    for (int i = 0; i < kPhotos; ++i)
        rig.g.AddImage(i == 0 ? first : rig.photo(4000, 3000, 7));
    rig.g.SelectImage(0);
    rig.form.Form_KeyDown(keys::Enter, 0);
    ZoomWindow* zoom = rig.viewers.viewers()
                           ? dynamic_cast<ZoomWindow*>(rig.viewers.viewers()->LastZoom()->view())
                           : nullptr;
    ASSERT_NE(zoom, nullptr);
    ASSERT_TRUE(waitFor([&] { return zoom->imageView().framesPainted() > 0; }, 30000));
    // The thumbnails' own threads are done and counted before the keys come.
    rig.window.galleryChanged();
    ASSERT_TRUE(rig.window.keeper().waitForIdle(60000));

    const int before = threadsOfThisProcess();
    int most = before;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout,
                     [&] { most = std::max(most, threadsOfThisProcess()); });
    sample.start(2);
    // A held arrow key repeats faster than photos decode: the presses queue up and
    // come in one burst, each Enter showing the newly selected photo.
    for (int i = 1; i < kPhotos; ++i) {
        rig.form.Form_KeyDown(keys::Right, 0);
        rig.form.Form_KeyDown(keys::Enter, 0);
    }
    most = std::max(most, threadsOfThisProcess());
    const Picture last = rig.g.imgView(kPhotos - 1).picture;
    EXPECT_TRUE(waitFor(
        [&] {
            return zoom->imageView().picture().sameAs(last) && !zoom->imageView().loading() &&
                   zoom->imageView().holdsDecodedCopy();
        },
        30000));
    EXPECT_LE(most - before, 3) << "threads decoding at once while moving through " << kPhotos
                                << " photos";
    EXPECT_LE(PictureLoader::instance().mostDecoding(), 2);
}

TEST(WindowDuringJobs, ClosingDuringSaveAllAndDuringPrintFinishesThemQuietly) {
    const QString pages = startPrinter();
    ASSERT_FALSE(pages.isEmpty()) << "no CUPS printer to print on";
    for (const QString& page : printedPages(pages))
        QFile::remove(QDir(pages).filePath(page));
    {
        Rig rig;
        for (quint32 i = 0; i < 3; ++i)
            rig.g.AddImage(rig.photo(4000, 3000, 20 + i));
        const QString out = rig.folder.filePath(QStringLiteral("out"));
        ASSERT_TRUE(QDir().mkpath(out));
        rig.dialogs.answers.push_back(out);
        rig.form.menuCommand(Command::SaveAll);
        ASSERT_TRUE(rig.form.jobRunning());
        rig.window.close();
        EXPECT_FALSE(rig.form.jobRunning());
        EXPECT_EQ(QDir(out).entryList({"*.jpg"}, QDir::Files).size(), 3)
            << "every picture was written to its end";
        EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 3)
            << "no temporary file is left";
        waitFor([] { return false; }, 100);
        EXPECT_TRUE(rig.messages.shown.empty()) << "nothing is reported after the close";
    }
    {
        Rig rig;
        rig.g.AddImage(rig.photo(6000, 4000, 30));
        rig.form.menuCommand(Command::Print);
        ASSERT_TRUE(rig.form.jobRunning());
        rig.window.close();
        waitFor([] { return false; }, 100);
        EXPECT_TRUE(rig.messages.shown.empty());
    }
    EXPECT_TRUE(waitFor([&] { return printedPages(pages).size() == 1; }, 60000))
        << "the page went to the printer";
    for (const QString& page : printedPages(pages))
        QFile::remove(QDir(pages).filePath(page));
}
