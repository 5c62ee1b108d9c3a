// The clipboard watcher against the real X clipboard and real owner programs.
#include "app/form_capture.h"
#include "fakes/fake_platform.h"
#include "platform/command.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"
#include "wait.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

/** Counts ticks, so a test can tell that the watcher has looked again. */
class CountingClipboard final : public IClipboard {
public:
    explicit CountingClipboard(IClipboard& inner) : m_inner(inner) {}
    int ticks = 0;
    int clears = 0;
    void look(bool readImage, std::function<void(ClipboardContent)> done) override {
        ++ticks;
        m_inner.look(readImage, std::move(done));
    }
    void clear() override {
        ++clears;
        m_inner.clear();
    }
    void clearTaken(const ClipboardContent& taken) override {
        ++clears;
        m_inner.clearTaken(taken);
    }
    void keepTaken(const ClipboardContent& taken) override { m_inner.keepTaken(taken); }
    bool setPicture(const Picture& p) override { return m_inner.setPicture(p); }
    void setChangeHandler(std::function<void()> h) override {
        m_inner.setChangeHandler(std::move(h));
    }

private:
    IClipboard& m_inner;
};

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->clear();
        window.attach(form.gallery(), form);
        window.resize(632, 453);
        window.show();
        ASSERT_TRUE(waitUntil([&] { return window.isVisible(); }));
        form.Form_Load();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        for (auto& p : owners) {
            p->kill();
            p->waitForFinished(2000);
        }
        window.attach(form.gallery(), form);
    }

    QString writePng(const QString& name, int w, int h, QRgb colour = 0xff2060a0) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    QProcess& own(const QString& program, const QStringList& args) {
        owners.push_back(std::make_unique<QProcess>());
        QProcess& p = *owners.back();
        p.start(program, args);
        EXPECT_TRUE(p.waitForStarted(5000));
        return p;
    }
    QProcess& cliptool(const QStringList& args) {
        QProcess& p = own(QStringLiteral(CLIPTOOL_PATH), args);
        EXPECT_TRUE(waitUntil([&] { return p.canReadLine() || p.state() != QProcess::Running; }));
        p.readLine();
        return p;
    }
    void xclipImage(const QString& path) {
        own(QStringLiteral("xclip"),
            {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
             QStringLiteral("image/png"), QStringLiteral("-i"), path});
    }
    /** Asks for a tick and waits until that look has ended. */
    bool lookAgain() {
        form.scheduleTick();
        const int before = counting.ticks;
        return waitUntil([&] { return counting.ticks > before && !form.watcher().looking(); });
    }
    static bool clipboardEmpty() {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return !data || data->formats().isEmpty();
    }

    QTemporaryDir dir;
    QtPlatform qt;
    CountingClipboard counting{qt.clipboard};
    FakeDialogs dialogs; // every dialog is cancelled
    Platform platform{counting,    qt.clock, qt.files,   qt.pictures, dialogs,
                      qt.messages, qt.shell, qt.printer, qt.converter};
    CaptureWindow window;
    FakeViewerHost viewers;
    formCapture form{window, platform, viewers};
    std::vector<std::unique_ptr<QProcess>> owners;
};

} // namespace

TEST_F(CaptureTest, BitmapFromAnotherProgramIsTakenAndClipboardEmptied) {
    xclipImage(writePng(QStringLiteral("a.png"), 320, 200));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1; }));
    EXPECT_EQ(form.gallery().imgView(0).toolTipText, QStringLiteral("Image 1"));
    EXPECT_EQ(form.gallery().imgView(0).picture.width(), 320);
    EXPECT_TRUE(waitUntil(clipboardEmpty));

    xclipImage(writePng(QStringLiteral("b.png"), 64, 48, 0xffff0000));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 2; }));
    EXPECT_EQ(form.gallery().imgView(1).toolTipText, QStringLiteral("Image 2"));
    EXPECT_EQ(form.gallery().imgView(1).picture.toImage().pixel(0, 0), 0xffff0000u);
    EXPECT_EQ(form.gallery().SelectedIndex, 0);
    EXPECT_FALSE(form.gallery().shpSelected.visible) << "a capture selects nothing";
}

TEST_F(CaptureTest, TextStaysAndNothingIsAdded) {
    form.gallery().IgnoreClipboard = true;
    cliptool({QStringLiteral("text"), QStringLiteral("hello")});
    ASSERT_TRUE(lookAgain());
    EXPECT_FALSE(form.gallery().IgnoreClipboard);
    EXPECT_EQ(form.gallery().ImageCount, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello"));
}

TEST_F(CaptureTest, HugeScreenIsTakenAndOversizedBitmapIsLeftAlone) {
    xclipImage(writePng(QStringLiteral("8k.png"), 7680, 4320));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1; }, 30000));
    EXPECT_EQ(form.gallery().imgView(0).picture.width(), 7680);

    // A PNG whose header claims more than the program takes: refused before decoding,
    // whether by its pixels or by a side longer than a JPEG's.
    const auto headerOnlyPng = [](quint32 width, quint32 height) {
        QByteArray png("\x89PNG\r\n\x1a\n", 8);
        const auto be32 = [](quint32 v) {
            const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
            return QByteArray(b, 4);
        };
        const auto chunk = [&](const char* type, const QByteArray& data) {
            QByteArray body = QByteArray(type, 4) + data;
            quint32 crc = 0xffffffffu;
            for (unsigned char c : body) {
                crc ^= c;
                for (int k = 0; k < 8; ++k)
                    crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
            }
            png += be32(data.size()) + body + be32(~crc);
        };
        chunk("IHDR", be32(width) + be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5));
        chunk("IDAT", QByteArray(16, '\0'));
        chunk("IEND", QByteArray());
        return png;
    };
    const QString hugePath = dir.filePath(QStringLiteral("huge.png"));
    QFile huge(hugePath);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(headerOnlyPng(20000, 20000));
    huge.close();
    // A whole, small picture, but one no JPEG can hold.
    for (const QString& path : {hugePath, writePng(QStringLiteral("long.png"), 65501, 1)}) {
        SCOPED_TRACE(path.toStdString());
        xclipImage(path);
        ASSERT_TRUE(waitUntil([&] { return !clipboardEmpty(); }));
        ASSERT_TRUE(lookAgain());
        EXPECT_EQ(form.gallery().ImageCount, 1) << "nothing added";
        EXPECT_FALSE(clipboardEmpty()) << "the bitmap stays on the clipboard";
    }

    // Room for a busy machine: the 8k picture may still be packed on another thread.
    xclipImage(writePng(QStringLiteral("next.png"), 10, 10));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 2; }, 30000));
}

TEST_F(CaptureTest, BytesAreDecodedOnlyAsTheRasterTheirTypeNames) {
    // An SVG offered as a PNG must not make the program read a file on its behalf.
    const QString secret = writePng(QStringLiteral("secret.png"), 16, 16, 0xffabcdef);
    const QString svg = dir.filePath(QStringLiteral("lure.svg"));
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' "
                           "xmlns:xlink='http://www.w3.org/1999/xlink' width='16' height='16'>"
                           "<image width='16' height='16' xlink:href='file://%1'/></svg>")
                .arg(secret)
                .toUtf8());
    f.close();
    xclipImage(svg);
    ASSERT_TRUE(waitUntil([&] { return !clipboardEmpty(); }));
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(form.gallery().ImageCount, 0) << "nothing taken";
    EXPECT_FALSE(clipboardEmpty()) << "left on the clipboard";

    // A BMP under its own name is taken.
    const QString bmp = dir.filePath(QStringLiteral("b.bmp"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(0xff102030);
    ASSERT_TRUE(image.save(bmp, "BMP"));
    own(QStringLiteral("xclip"),
        {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
         QStringLiteral("image/bmp"), QStringLiteral("-i"), bmp});
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1; }));
    EXPECT_EQ(form.gallery().imgView(0).picture.toImage().pixel(3, 3), 0xff102030u);
}

TEST_F(CaptureTest, OwnerThatDiesOrStallsCostsNoEntryAndNeverBlocksTheWindow) {
    const QString png = writePng(QStringLiteral("d.png"), 50, 40);
    QProcess& dying = cliptool({QStringLiteral("dying"), png});
    ASSERT_TRUE(waitUntil([&] { return dying.state() == QProcess::NotRunning; }));
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(form.gallery().ImageCount, 0);

    // An owner that never hands its picture over: the event loop keeps running.
    QElapsedTimer sinceLastEvent;
    qint64 longestGap = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceLastEvent.restart()); });
    sinceLastEvent.start();
    heartbeat.start(10);
    QProcess& slow = cliptool({QStringLiteral("slow"), png, QStringLiteral("120000")});
    ASSERT_TRUE(waitUntil([&] { return form.watcher().looking(); }));
    // A newer copy is taken at once, however long the stalled owner would keep us.
    xclipImage(writePng(QStringLiteral("ok.png"), 30, 30, 0xff00ff00));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1; }, 5000));
    heartbeat.stop();
    EXPECT_LT(longestGap, 500) << "the window was blocked";
    EXPECT_EQ(form.gallery().imgView(0).picture.toImage().pixel(0, 0), 0xff00ff00u);
    EXPECT_EQ(counting.clears, 1) << "only the picture taken was emptied";
    slow.kill();
    slow.waitForFinished(2000);
}

TEST_F(CaptureTest, SlowOwnersAreWaitedForOrLookedAtAgain) {
    // A toolkit encoding a 4K screen as PNG needs seconds before its first byte.
    cliptool({QStringLiteral("slow"), writePng(QStringLiteral("s.png"), 60, 40, 0xff112233),
              QStringLiteral("4000")});
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1; }, 20000));
    EXPECT_EQ(form.gallery().imgView(0).picture.toImage().pixel(0, 0), 0xff112233u);

    // One that names its types only after we stopped waiting: looked at again, longer.
    cliptool({QStringLiteral("late-targets"), writePng(QStringLiteral("l.png"), 60, 40, 0xff445566),
              QStringLiteral("3000")});
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 2; }, 20000));
    EXPECT_EQ(form.gallery().imgView(1).picture.toImage().pixel(0, 0), 0xff445566u);

    // One that first hands over no data, as Wine may while it renders its copy.
    cliptool(
        {QStringLiteral("empty-first"), writePng(QStringLiteral("e.png"), 60, 40, 0xff778899)});
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 3; }, 20000));
    EXPECT_EQ(form.gallery().imgView(2).picture.toImage().pixel(0, 0), 0xff778899u);
}

TEST_F(CaptureTest, DrippingOwnerIsWaitedForUntilANewerCopyComes) {
    QProcess& drip = cliptool({QStringLiteral("drip"), writePng(QStringLiteral("d.png"), 60, 40)});
    QByteArray said;
    // Each piece keeps the look alive, past any fixed bound on a look.
    ASSERT_TRUE(waitUntil(
        [&] { return (said += drip.readAllStandardOutput()).contains("piece 3"); }, 20000))
        << "the dripping owner was given up: " << said.toStdString();
    EXPECT_TRUE(form.watcher().looking());
    xclipImage(writePng(QStringLiteral("n.png"), 30, 30, 0xff0000ffu));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1; }, 5000))
        << "the newer copy waited for the dripping owner";
    EXPECT_EQ(form.gallery().imgView(0).picture.toImage().pixel(0, 0), 0xff0000ffu);
}

TEST_F(CaptureTest, ToolQuittingIsHeldUntilItsSlowPictureIsTakenOrReplaced) {
    // Handed over 2.5 s after it is asked for: the tool waits for the stand-in manager all
    // that time, and hears that its copy was kept.
    Gallery& g = form.gallery();
    QProcess& tool =
        cliptool({QStringLiteral("store-slowly"),
                  writePng(QStringLiteral("s.png"), 60, 40, 0xff13579b), QStringLiteral("2500")});
    ASSERT_TRUE(waitUntil([&] { return tool.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(tool.readAllStandardOutput().trimmed(), QByteArray("kept"));
    ASSERT_TRUE(waitUntil([&] { return g.ImageCount == 1; })) << "the slow picture was lost";
    EXPECT_EQ(g.imgView(0).picture.toImage().pixel(0, 0), 0xff13579bu);

    // A newer copy before the hand-over: the tool hears that its copy was not kept.
    QProcess& replaced =
        cliptool({QStringLiteral("store-slowly"),
                  writePng(QStringLiteral("r.png"), 60, 40, 0xff2468ac), QStringLiteral("6000")});
    xclipImage(writePng(QStringLiteral("n.png"), 30, 30, 0xff00ff00));
    ASSERT_TRUE(waitUntil([&] { return replaced.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(replaced.readAllStandardOutput().trimmed(), QByteArray("not kept"));
    ASSERT_TRUE(waitUntil([&] { return g.ImageCount == 2; }));
    EXPECT_EQ(g.imgView(1).picture.toImage().pixel(0, 0), 0xff00ff00u);
}

TEST_F(CaptureTest, ProgramThatCopiesAndQuitsAtOnceHasItsPictureTakenOnce) {
    // As screenshot tools do: the picture goes to the clipboard manager on the way out.
    QProcess& tool = own(QStringLiteral("/usr/bin/python3"),
                         {QStringLiteral(INTEGRATION_SCRIPTS "/gtk_copy_and_quit.py"),
                          writePng(QStringLiteral("q.png"), 64, 48, 0xff778899)});
    ASSERT_TRUE(waitUntil([&] { return tool.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(form.gallery().ImageCount, 1) << "taken before the tool quit";
    ASSERT_TRUE(lookAgain());
    ASSERT_EQ(form.gallery().ImageCount, 1) << "taken once";
    EXPECT_EQ(form.gallery().imgView(0).picture.toImage().pixel(0, 0), 0xff778899u);

    // A text is not kept: the program is let go at once, not held for seconds.
    QProcess& text = own(QStringLiteral("/usr/bin/python3"),
                         {QStringLiteral(INTEGRATION_SCRIPTS "/gtk_copy_and_quit.py"),
                          QStringLiteral("--text"), QStringLiteral("words")});
    ASSERT_TRUE(waitUntil([&] { return text.state() == QProcess::NotRunning; }, 20000));
    const QList<QByteArray> said = text.readAllStandardOutput().trimmed().split(' ');
    ASSERT_EQ(said.size(), 2);
    EXPECT_LT(said[1].toInt(), 4000) << "held back until the deadline";
    EXPECT_EQ(form.gallery().ImageCount, 1);
}

TEST_F(CaptureTest, ClipboardManagerThatRestoresDoesNotRefillTheGallery) {
    QProcess& manager =
        cliptool({QStringLiteral("manager"), writePng(QStringLiteral("m.png"), 40, 30)});
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount >= 1; }));
    // The manager puts the capture back; the watcher looks at it and leaves it there.
    ASSERT_TRUE(waitUntil([&] { return manager.canReadLine(); }));
    // Settled once a look leaves the restore on the clipboard.
    ASSERT_TRUE(waitUntil([&] { return lookAgain() && !clipboardEmpty(); }));
    const int taken = form.gallery().ImageCount;
    EXPECT_LE(taken, 2) << "at most one copy of a restore";
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(lookAgain());
    EXPECT_EQ(form.gallery().ImageCount, taken) << "no loop";
    EXPECT_FALSE(clipboardEmpty()) << "not emptied again";
    // After a command ends (a cancelled Save), the restore is still left where it is.
    form.menuCommand(Command::Save);
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(form.gallery().ImageCount, taken);

    // A new, different capture is still taken.
    xclipImage(writePng(QStringLiteral("m2.png"), 40, 30, 0xff00ff00));
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == taken + 1; }));
}

TEST_F(CaptureTest, ManagersSlowPutBacksAreLeftAndTheSameCopyMadeAgainIsTaken) {
    // A manager that puts the picture back a second after each emptying, and one program
    // that copies the same picture twice.
    const QString path = writePng(QStringLiteral("kept.png"), 40, 30, 0xff445566);
    QProcess& keeper = cliptool({QStringLiteral("keeper"), path, QStringLiteral("1000")});
    // The second copy follows a key press, as a person's does: taken and emptied whether or
    // not the manager has put the first one back by then.
    QProcess& copier = cliptool({QStringLiteral("press-again"), path, QStringLiteral("1500")});
    ASSERT_TRUE(waitUntil([&] { return copier.state() == QProcess::NotRunning; }, 30000))
        << "the second copy was not taken; taken " << form.gallery().ImageCount;
    // Only the manager fills the clipboard now.
    ASSERT_TRUE(waitUntil([&] { return !clipboardEmpty(); }, 30000));
    ASSERT_TRUE(lookAgain());
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(form.gallery().ImageCount, 2) << "each copy once, no put-back";
    EXPECT_EQ(counting.clears, 2) << "put-backs are not emptied, so there is no loop";
    EXPECT_FALSE(clipboardEmpty());
    const QByteArray said = keeper.readAll();
    EXPECT_LE(said.count("put back"), 2) << said.constData();
}

TEST_F(CaptureTest, OwnCopyComesBackOnceAfterDeleteAndAfterACancelledSave) {
    Gallery& g = form.gallery();
    auto takenOnce = [&](int count, QRgb colour) {
        EXPECT_TRUE(waitUntil([&] { return g.ImageCount == count && clipboardEmpty(); }))
            << "count " << g.ImageCount;
        EXPECT_TRUE(lookAgain());
        EXPECT_TRUE(lookAgain());
        EXPECT_EQ(g.ImageCount, count) << "taken once";
        EXPECT_EQ(g.imgView(count - 1).picture.toImage().pixel(0, 0), colour);
    };
    xclipImage(writePng(QStringLiteral("a.png"), 30, 20, 0xff102030));
    ASSERT_TRUE(waitUntil([&] { return g.ImageCount == 1; }));
    xclipImage(writePng(QStringLiteral("b.png"), 30, 20, 0xff405060));
    ASSERT_TRUE(waitUntil([&] { return g.ImageCount == 2 && clipboardEmpty(); }));

    // Copy at once after the capture, then Delete: the copy is the next entry.
    g.SelectImage(1);
    form.menuCommand(Command::Copy);
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(g.ImageCount, 2) << "left alone while the flag is up";
    form.menuCommand(Command::Delete);
    takenOnce(2, 0xff405060);

    // Copy, then Save cancelled in its dialog.
    g.SelectImage(0);
    form.menuCommand(Command::Copy);
    form.menuCommand(Command::Save);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    takenOnce(3, 0xff102030);
}

TEST_F(CaptureTest, SamePicturesCopiedAgainByNewProgramsAreEachTaken) {
    // A new xclip for each copy; the server hands a finished one's client id to the next.
    Gallery& g = form.gallery();
    const QString green = writePng(QStringLiteral("green.png"), 50, 40, 0xff00ff00);
    const QString red = writePng(QStringLiteral("red.png"), 50, 40, 0xffff0000);
    const QString blue = writePng(QStringLiteral("blue.png"), 50, 40, 0xff0000ff);
    int count = 0;
    auto copy = [&](const QString& path) {
        xclipImage(path);
        ++count;
        return waitUntil([&] { return g.ImageCount == count && clipboardEmpty(); });
    };
    for (const QString& path : {green, green, green, red, blue, red, blue, red})
        ASSERT_TRUE(copy(path)) << "copy " << count << " of " << path.toStdString() << ": taken "
                                << g.ImageCount;
    // After Clear, the same picture again.
    form.menuCommand(Command::Clear);
    count = 0;
    ASSERT_TRUE(copy(red)) << "taken " << g.ImageCount;
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(g.ImageCount, 1) << "each once";
}

TEST_F(CaptureTest, OneProgramCopyingTheSamePictureAgainIsTakenEveryTime) {
    // Unattended, two seconds after each emptying; and at once after a key press.
    const QString path = writePng(QStringLiteral("same.png"), 50, 40, 0xff336699);
    QProcess& copier =
        cliptool({QStringLiteral("again"), path, QStringLiteral("2000"), QStringLiteral("4")});
    ASSERT_TRUE(waitUntil([&] { return copier.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(copier.exitCode(), 0);
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 4; }))
        << "taken " << form.gallery().ImageCount;
    QProcess& pressing =
        cliptool({QStringLiteral("press-again"), path, QStringLiteral("100"), QStringLiteral("4")});
    ASSERT_TRUE(waitUntil([&] { return pressing.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(pressing.exitCode(), 0);
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 8; }))
        << "taken " << form.gallery().ImageCount;
    ASSERT_TRUE(lookAgain());
    EXPECT_EQ(form.gallery().ImageCount, 8) << "each once";
}

TEST_F(CaptureTest, SamePictureCopiedAgainAfterATextCopyIsTakenAgain) {
    const QString path = writePng(QStringLiteral("again.png"), 50, 40, 0xff336699);
    xclipImage(path);
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 1 && clipboardEmpty(); }));
    cliptool({QStringLiteral("text"), QStringLiteral("between")});
    ASSERT_TRUE(lookAgain());
    xclipImage(path);
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 2 && clipboardEmpty(); }))
        << "taken " << form.gallery().ImageCount;
}

TEST_F(CaptureTest, BurstOfCapturesIsTakenOnceEachInOrder) {
    window.resize(1200, 900);
    ASSERT_TRUE(waitUntil([&] { return window.height() == 900; }));
    QProcess& burst =
        own(QStringLiteral(CLIPTOOL_PATH), {QStringLiteral("burst"), QStringLiteral("100"),
                                            QStringLiteral("64"), QStringLiteral("48")});
    ASSERT_TRUE(waitUntil([&] { return form.gallery().ImageCount == 100; }, 60000))
        << "got " << form.gallery().ImageCount << ", top index " << form.gallery().topIndex()
        << ", outer " << window.outerWidthTwips() << "x" << window.outerHeightTwips()
        << ", burst says " << burst.readAll().toStdString() << ", taken: " <<
        [&] {
            std::string seq;
            for (int i = 0; i < form.gallery().ImageCount; ++i)
                seq +=
                    std::to_string(qRed(form.gallery().imgView(i).picture.toImage().pixel(0, 0))) +
                    " ";
            return seq;
        }();
    ASSERT_TRUE(waitUntil([&] { return burst.state() == QProcess::NotRunning; }));
    EXPECT_EQ(burst.exitCode(), 0);
    for (int i = 0; i < 100; ++i) {
        const Entry& e = form.gallery().imgView(i);
        EXPECT_EQ(qRed(e.picture.toImage().pixel(0, 0)), i) << "entry " << i;
        EXPECT_EQ(e.toolTipText, QStringLiteral("Image %1").arg(i + 1));
    }
}
