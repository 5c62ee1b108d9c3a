// Browse and Open on real files, through the real window, loader and clipboard.
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "fakes/fake_platform.h"
#include "integration/test_pictures.h"
#include "platform/qt/files/qt_file_system.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace testpics;

namespace {

bool waitFor(const std::function<bool()>& condition, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QImage solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool near(QRgb a, QRgb b) {
    return qAbs(qRed(a) - qRed(b)) <= 12 && qAbs(qGreen(a) - qGreen(b)) <= 12 &&
           qAbs(qBlue(a) - qBlue(b)) <= 12;
}

struct RealBrowseFixture : ::testing::Test {
    QTemporaryDir dir;
    QtPlatform qt;
    FakeDialogs dialogs;
    FakeMessageBox messages;
    Platform platform{qt.clipboard, qt.clock, qt.files,   qt.pictures, dialogs,
                      messages,     qt.shell, qt.printer, qt.converter};
    CaptureWindow window;
    QtViewerHost viewers{window};
    formCapture form{window, platform, viewers, &qt.jobs};
    Gallery& g = form.gallery();
    QStringList captions;

    struct TitleWatch : QObject {
        QStringList* out;
        QWidget* window;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::WindowTitleChange)
                out->append(window->windowTitle());
            return false;
        }
    } watch;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        window.attach(g, form);
        window.resize(632, 453);
        form.Form_Load();
        window.show();
        ASSERT_TRUE(waitFor(
            [this] { return window.windowHandle() && window.windowHandle()->isExposed(); }));
        watch.out = &captions;
        watch.window = &window;
        window.installEventFilter(&watch);
    }
    void TearDown() override { window.removeEventFilter(&watch); }

    QString file(const QString& name, const QByteArray& bytes) {
        const QString p = dir.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(writeFile(p, bytes));
        return p;
    }
    void browse(const QString& folder) {
        dialogs.answers.push_back(folder);
        form.menuCommand(Command::Browse);
    }
    /** Opens path, as the menu does, and waits for the file's load to end. */
    void open(const QString& path) {
        dialogs.answers.push_back(path);
        form.menuCommand(Command::Open);
        EXPECT_TRUE(waitFor([this] { return !form.jobRunning(); }, 60000));
    }
    QRgb colourOf(int entry) const { return g.imgView(entry).picture.toImage().pixel(2, 2); }
    /** The captions of one Browse: counts that only rise (those within a frame
        share one), the last of them `last`, then the title. */
    void expectCounted(int last) const {
        ASSERT_GE(captions.size(), 3) << captions.join(u',').toStdString();
        EXPECT_EQ(captions.first(), QStringLiteral("Loading Images..."));
        EXPECT_EQ(captions.at(captions.size() - 2), QStringLiteral("Loading Image %1").arg(last));
        EXPECT_EQ(captions.last(), QStringLiteral("Pictavo"));
        int previous = 0;
        for (qsizetype i = 1; i < captions.size() - 1; ++i) {
            const int n = captions.at(i).mid(14).toInt();
            EXPECT_TRUE(captions.at(i).startsWith(QLatin1String("Loading Image ")) && n > previous)
                << captions.join(u',').toStdString();
            previous = n;
        }
    }
};

} // namespace

TEST_F(RealBrowseFixture, LoadsJpegBmpGifInOrderWithTheirNames) {
    struct Item {
        QByteArray name; // raw bytes on disk
        QByteArray bytes;
        QRgb colour;
    };
    const auto jpg = [](QRgb c) { return encoded(solid(24, 16, c), "jpg", 95); };
    QImage indexed = solid(24, 16, 0xff00c000).convertToFormat(QImage::Format_Indexed8);
    const QList<QRgb> palette = {0xff000000, 0xffc000c0, 0xff0000c0};
    const QList<Item> items = {
        {"b.jpg", jpg(0xffc00000), 0xffc00000},
        {"A.JPG", jpg(0xff00c000), 0xff00c000},
        {"with space.jpg", jpg(0xff0000c0), 0xff0000c0},
        {"caf\xc3\xa9 \xe6\x97\xa5.jpg", jpg(0xffc0c000), 0xffc0c000},
        {"bad\xff\xfe.jpg", jpg(0xff00c0c0), 0xff00c0c0},
        {"p.bmp", encoded(solid(24, 16, 0xff808080), "bmp"), 0xff808080},
        {"r.bmp", rleBmp(indexed, 8), 0xff00c000},
        {"jpeg-inside.bmp", jpg(0xff400040), 0xff400040},
        {"g.gif", gif(24, 16, {QByteArray(24 * 16, 1), QByteArray(24 * 16, 2)}, palette),
         0xffc000c0},
    };
    const QByteArray root = QFile::encodeName(dir.path()) + '/';
    for (const Item& item : items) {
        // By raw bytes: QFile cannot make a name that is not valid UTF-8.
        const int fd = ::open(QByteArray(root + item.name).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << item.name.constData();
        ASSERT_EQ(::write(fd, item.bytes.constData(), size_t(item.bytes.size())),
                  item.bytes.size());
        ::close(fd);
    }
    file(QStringLiteral(".hidden.jpg"), jpg(0xffffffff));
    file(QStringLiteral("left-out.png"), encoded(solid(4, 4, 0xffffffff), "png"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.jpg")));

    browse(dir.path());

    // jpg in name order, then bmp, then gif.
    const int order[] = {1, 0, 4, 3, 2, 7, 5, 6, 8};
    ASSERT_EQ(g.ImageCount, 9) << messages.shown.size();
    for (int i = 0; i < 9; ++i) {
        const Item& item = items[order[i]];
        EXPECT_EQ(g.imgView(i).toolTipText, decodeFileName(root + item.name)) << i;
        EXPECT_TRUE(near(colourOf(i), item.colour)) << i << " " << item.name.constData();
    }
    expectCounted(9);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pictavo"));
    EXPECT_TRUE(window.isMenuEnabled(Command::Browse));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ::unlink(QByteArray(root + "bad\xff\xfe.jpg").constData());
}

TEST_F(RealBrowseFixture, DamagedJpegInTheMiddleEndsTheLoadingThere) {
    QByteArray broken = encoded(solid(32, 32, 0xff123456), "jpg", 90);
    const qsizetype dht = broken.indexOf("\xff\xc4");
    for (qsizetype i = dht + 5; i < dht + 40; ++i)
        broken[i] = char(0xff);
    file(QStringLiteral("1.jpg"), encoded(solid(32, 32, 0xffc00000), "jpg"));
    file(QStringLiteral("2.jpg"), encoded(solid(32, 32, 0xff00c000), "jpg"));
    file(QStringLiteral("3.jpg"), broken);
    file(QStringLiteral("4.jpg"), encoded(solid(32, 32, 0xff0000c0), "jpg"));
    file(QStringLiteral("5.bmp"), encoded(solid(32, 32, 0xff0000c0), "bmp"));
    browse(dir.path() + QLatin1Char('/'));
    EXPECT_EQ(g.ImageCount, 2);
    EXPECT_EQ(g.topIndex(), 1);
    EXPECT_EQ(g.imgView(1).toolTipText, dir.path() + QStringLiteral("/2.jpg"));
    expectCounted(2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(
        messages.shown[0].text.contains(QStringLiteral("3.jpg\", which could not be opened: "
                                                       "the picture data is damaged")))
        << messages.shown[0].text.toStdString();
}

TEST_F(RealBrowseFixture, TwoThousandFilesStopWhenTheWindowIsFull) {
    const QByteArray tiny = encoded(solid(8, 8, 0xff336699), "jpg");
    for (int i = 0; i < 2000; ++i)
        file(QStringLiteral("f%1.jpg").arg(i, 4, 10, QLatin1Char('0')), tiny);
    browse(dir.path());
    // The window holds `capacity` entries; the next picture started over at entry 0.
    const int capacity = g.topIndex() + 1;
    EXPECT_GE(capacity, 40);
    EXPECT_LT(capacity, 200);
    EXPECT_EQ(g.ImageCount, 1);
    EXPECT_EQ(g.imgView(0).toolTipText,
              dir.path() + QStringLiteral("/f%1.jpg").arg(capacity, 4, 10, QLatin1Char('0')));
    expectCounted(capacity);
}

TEST_F(RealBrowseFixture, CaptureAndEscWhileLoading) {
    const int files = 40;
    for (int i = 0; i < files; ++i)
        file(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
             encoded(solid(1280, 720, 0xff000000u | (quint32(i * 5) << 8)), "jpg", 90));
    const QImage capture = solid(300, 200, 0xffff00ff);
    // A bitmap arrives on the clipboard during the first yield; Esc comes
    // once it has been taken in.
    QTimer::singleShot(0, [&] { QGuiApplication::clipboard()->setImage(capture); });
    QTimer poll;
    int captured = -1;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (int i = 0; i <= g.topIndex() && captured < 0; ++i)
            if (g.imgView(i).picture.width() == 300) {
                captured = i;
                QCoreApplication::postEvent(
                    &window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            }
    });
    poll.start(1);
    browse(dir.path());
    poll.stop();

    ASSERT_GE(captured, 1) << "the capture came in during the Browse";
    EXPECT_LT(g.ImageCount, files + 1) << "Esc stopped the loading";
    EXPECT_EQ(g.imgView(captured).toolTipText, QStringLiteral("Image %1").arg(captured + 1));
    // Every other entry shows the file it is named after.
    int loaded = 0;
    for (int i = 0; i <= g.topIndex(); ++i) {
        if (i == captured)
            continue;
        const QString name = g.imgView(i).toolTipText;
        ASSERT_TRUE(name.startsWith(dir.path())) << i << " " << name.toStdString();
        const int n = QFileInfo(name).baseName().toInt();
        EXPECT_TRUE(near(colourOf(i), 0xff000000u | (quint32(n * 5) << 8))) << i;
        ++loaded;
    }
    EXPECT_EQ(loaded + 1, g.ImageCount);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pictavo"));
}

TEST_F(RealBrowseFixture, OpenLoadsByContentAndReportsWhatItCannotLoad) {
    g.AddImage(Picture::fromImage(solid(4, 4, 0xff000000)));
    g.imgView(0).toolTipText = QStringLiteral("Image 1");
    g.SelectImage(0);
    const QString bmpAsJpg =
        file(QStringLiteral("really-a-bmp.jpg"), encoded(solid(20, 10, 0xff00c000), "bmp"));
    open(bmpAsJpg);
    EXPECT_EQ(g.imgView(0).picture.width(), 20);
    EXPECT_EQ(g.imgView(0).toolTipText, bmpAsJpg);

    const QString cut = file(QStringLiteral("cut.gif"), QByteArray("GIF89a\x10\x00"));
    open(cut);
    EXPECT_EQ(g.imgView(0).picture.width(), 20);
    EXPECT_EQ(g.imgView(0).toolTipText, bmpAsJpg);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(
        QStringLiteral("The file \"%1\" could not be opened: ").arg(cut)))
        << messages.shown[0].text.toStdString();
}

TEST_F(RealBrowseFixture, OpenKeepsTheWindowAnsweringWhileTheFileDecodes) {
    g.AddImage(Picture::fromImage(solid(4, 4, 0xff000000)));
    g.AddImage(Picture::fromImage(solid(4, 4, 0xff0000ff)));
    g.imgView(0).toolTipText = QStringLiteral("Image 1");
    g.SelectImage(0);
    // A flat progressive JPEG with its last scan repeated thousands of times, a
    // photo of a camera's size, and one that Qt's reader takes over a second for.
    const QString bomb = file(QStringLiteral("bomb.jpg"), scanBomb(2000, 5000));
    const QString photo =
        file(QStringLiteral("photo.jpg"), jpegOf(photoLike(6000, 4000, 9), false));
    const QString slow =
        file(QStringLiteral("slow.jpg"), cmykJpeg(photoLike(4096, 4096, 3), TJFLAG_PROGRESSIVE));
    // A timer of the window's thread measures the longest time it went unserved.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    tick.start(20);
    for (const QString& path : {bomb, photo}) {
        sinceTick.start();
        open(path);
        longestGap = std::max(longestGap, sinceTick.elapsed());
    }
    tick.stop();
    EXPECT_LT(longestGap, 1000);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(
        QStringLiteral("bomb.jpg\" could not be opened: the picture data is damaged")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(g.imgView(0).toolTipText, photo);
    EXPECT_EQ(g.imgView(0).picture.width(), 6000);

    // The user's keys are answered while a file loads; the file still fills the
    // entry selected when Open began.
    dialogs.answers.push_back(slow);
    form.menuCommand(Command::Open);
    ASSERT_TRUE(form.jobRunning());
    QCoreApplication::postEvent(&window,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
    ASSERT_TRUE(waitFor([this] { return g.SelectedIndex == 1 || !form.jobRunning(); }));
    EXPECT_TRUE(form.jobRunning()) << "the key waited for the end of the load";
    ASSERT_TRUE(waitFor([this] { return !form.jobRunning(); }, 60000));
    EXPECT_EQ(g.imgView(0).toolTipText, slow);
    EXPECT_EQ(g.imgView(0).picture.width(), 4096);
    EXPECT_EQ(g.imgView(1).picture.width(), 4);
}

// Qt's reader takes over a second for each of these; Esc must not wait for any of them.
TEST_F(RealBrowseFixture, EscStopsAtOnceWhileSlowFilesDecodeAndAddsNothingAfter) {
    const QByteArray slow = cmykJpeg(photoLike(4096, 4096, 3), TJFLAG_PROGRESSIVE);
    ASSERT_FALSE(slow.isEmpty());
    for (int i = 0; i < 4; ++i)
        file(QStringLiteral("slow%1.jpg").arg(i), slow);
    // Esc as soon as the loading has begun, while the first files decode.
    QElapsedTimer sinceEsc;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!sinceEsc.isValid() && window.windowTitle() == QLatin1String("Loading Images...")) {
            sinceEsc.start();
            QCoreApplication::postEvent(
                &window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
    });
    poll.start(1);
    browse(dir.path());
    const qint64 stoppedAfter = sinceEsc.elapsed();
    poll.stop();
    ASSERT_TRUE(sinceEsc.isValid());
    EXPECT_LT(stoppedAfter, 1000);
    EXPECT_EQ(g.ImageCount, 0);
    EXPECT_TRUE(g.imgView(0).isEmpty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pictavo"));
    EXPECT_TRUE(window.isMenuEnabled(Command::Browse));
}
