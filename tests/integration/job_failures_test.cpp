// Jobs that fail on real files and real memory: the user is told why in words, the
// gallery stays, and nothing of the program's is left in the folder.
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "fakes/real_output.h"
#include "platform/qt/qt_application.h"
#include "test_pictures.h"
#include "tests/address_space_limit.h"
#include "viewer_support.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <new>

namespace {

QStringList everything(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

int run(const QString& command) { return std::system(command.toLocal8Bit().constData()); }

// Just before the second conversion the folder becomes read-only: a read-only mount of
// it over itself, as a user's chmod would do for anyone but root. Conversions take turns,
// so the first one is whole by then.
class ReadOnlyHalfway final : public IConverter {
public:
    ReadOnlyHalfway(IConverter& inner, QString folder)
        : m_inner(inner), m_folder(std::move(folder)) {}
    ~ReadOnlyHalfway() override {
        if (m_mounted)
            run("umount '" + m_folder + "'");
    }
    bool BmpToJpeg(const QString& bmp, const QString& jpeg, int setting, QString* error) override {
        std::lock_guard turn(m_turn);
        if (++m_calls == 2) {
            m_mounted = run("mount --bind '" + m_folder + "' '" + m_folder + "'") == 0;
            m_readOnly = m_mounted && run("mount -o remount,bind,ro '" + m_folder + "'") == 0;
        }
        return m_inner.BmpToJpeg(bmp, jpeg, setting, error);
    }
    bool madeReadOnly() const { return m_readOnly; }

private:
    IConverter& m_inner;
    QString m_folder;
    std::mutex m_turn;
    int m_calls = 0;
    bool m_mounted = false;
    bool m_readOnly = false;
};

bool canMount(const QString& folder) {
    if (run("mount --bind '" + folder + "' '" + folder + "' 2>/dev/null") != 0)
        return false;
    run("umount '" + folder + "'");
    return true;
}

} // namespace

TEST(JobFailures, SaveAllIntoAFolderMadeReadOnlyHalfwaySaysWhyAndLeavesNothing) {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    if (!canMount(dir))
        GTEST_SKIP() << "cannot mount here";
    RealOutput real;
    ReadOnlyHalfway halfway(real.converter, dir);
    Platform platform{real.fake.clipboard, real.clock,      real.files,        real.pictures,
                      real.fake.dialogs,   real.fake.messages, real.fake.shell, real.fake.printer,
                      halfway};
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    CommandEnv env{g, real.window, platform};
    for (quint32 i = 0; i < 3; ++i)
        g.AddImage(Picture::fromImage(testpics::photoLike(1200, 800, i + 1)));

    real.fake.dialogs.answers.push_back(dir);
    mnuFileSaveAll_Click(env);
    ASSERT_TRUE(halfway.madeReadOnly());
    ASSERT_EQ(real.fake.messages.shown.size(), 1u);
    const QString text = real.fake.messages.shown[0].text;
    EXPECT_EQ(real.fake.messages.shown[0].kind, "warning");
    EXPECT_TRUE(text.startsWith("2 of 3 pictures were not saved in " + dir + "/."))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Read-only file system")) << text.toStdString();
    EXPECT_FALSE(text.contains("code")) << text.toStdString();
    const QStringList left = everything(dir);
    ASSERT_EQ(left.size(), 1) << left.join(' ').toStdString();
    EXPECT_TRUE(left[0].startsWith("image_") && left[0].endsWith(".jpg"));
}

#if !defined(__SANITIZE_ADDRESS__)
namespace {
// Writes the converter's file as a writer that holds the whole picture a second time
// would: with memory short, that allocation throws in the job's own thread.
class HungryPictures final : public IPictureFiles {
public:
    explicit HungryPictures(IPictureFiles& inner) : m_inner(inner) {}
    Picture load(const QString& path, QString* error) override { return m_inner.load(path, error); }
    bool writeBmp(const Picture& p, const QString& path, QString* error) override {
        return m_inner.writeBmp(p, path, error);
    }
    std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture& p, const QString& folder,
                                                          QString* error) override {
        std::vector<char> copy(std::size_t(p.width()) * std::size_t(p.height()) * 4);
        copy.back() = 1;
        return m_inner.writeIntermediateBmp(p, folder, error);
    }

private:
    IPictureFiles& m_inner;
};
} // namespace

TEST(JobFailures, SaveAllOutOfMemoryFailsWithAMessageAndKeepsTheGallery) {
    QtPlatform qt;
    HungryPictures hungry(qt.pictures);
    FakeDialogs dialogs;
    FakeMessageBox messages;
    FakePrinter printer;
    Platform platform{qt.clipboard, qt.clock, qt.files, hungry, dialogs,
                      messages,     qt.shell, printer,  qt.converter};
    CaptureWindow window;
    QtViewerHost viewers{window};
    formCapture form{window, platform, viewers, &qt.jobs};
    Gallery& g = form.gallery();
    viewers.attach(g, platform);
    window.attach(g, form);
    window.resize(632, 453);
    window.show();
    // Eight camera photos, held packed.
    std::vector<Picture> photos;
    const QImage photo = testpics::photoLike(6000, 4000, 5);
    for (int i = 0; i < 8; ++i) {
        photos.push_back(Picture::fromImage(photo));
        g.AddImage(photos.back());
    }
    window.galleryChanged();
    ASSERT_TRUE(window.keeper().waitForIdle(120000));
    QTemporaryDir out;
    dialogs.answers.push_back(out.path());

    {
        // 60 MiB to spare: less than one photo's pixels.
        AddressSpaceLimit limit(60 << 20);
        ASSERT_TRUE(limit.active());
        form.menuCommand(Command::SaveAll);
        const bool ended = waitFor([&] { return !form.jobRunning(); }, 120000);
        limit.lift();
        ASSERT_TRUE(ended);
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    const QString text = messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].kind, "warning");
    EXPECT_TRUE(text.startsWith("8 of 8 pictures were not saved")) << text.toStdString();
    EXPECT_TRUE(text.contains("there is not enough memory for it")) << text.toStdString();
    EXPECT_TRUE(everything(out.path()).isEmpty()) << everything(out.path()).join(' ').toStdString();
    ASSERT_EQ(g.ImageCount, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(g.imgView(i).picture.sameAs(photos[std::size_t(i)])) << "entry " << i;
    // The window goes on painting its thumbnails, and the menu is back.
    EXPECT_FALSE(window.grab().isNull());
    EXPECT_TRUE(window.isMenuEnabled(Command::SaveAll));
}
#endif

TEST(JobFailures, MemoryRunningOutWhileAWindowPaintsFailsThatPaintNotTheProgram) {
    struct Hungry final : QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override {
            if (++paints == 1)
                throw std::bad_alloc();
            QPainter(this).fillRect(rect(), Qt::darkCyan);
        }
    } window;
    auto* app = static_cast<QtApplication*>(QCoreApplication::instance());
    const int dropped = app->eventsDropped();
    window.resize(120, 80);
    window.show();
    ASSERT_TRUE(waitFor([&] { return window.paints >= 1; }));
    EXPECT_EQ(app->eventsDropped(), dropped + 1);
    window.update();
    EXPECT_TRUE(waitFor([&] { return window.paints >= 2; })) << "the window paints again";
}
