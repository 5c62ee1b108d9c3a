// EMF and WMF files through the picture loader: vectors by content, refusals,
// and Copy of a metafile picture rasterised on the real clipboard.
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "commands/picture_prefetch.h"
#include "fakes/fake_platform.h"
#include "metafile_writer.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/windows/capture_window.h"

#include "integration/wait.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const metafile_test::Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

bool writeRaw(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    return ok;
}

bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

struct MetafileFixture : ::testing::Test {
    QTemporaryDir dir;
    QtPictureFiles loader;
    QByteArray root = QFile::encodeName(dir.path()) + '/';

    QString put(const QByteArray& name, const metafile_test::Bytes& bytes) {
        EXPECT_TRUE(writeRaw(root + name, bytesOf(bytes)));
        return QString::fromUtf8(root) + QString::fromUtf8(name);
    }
};

} // namespace

TEST_F(MetafileFixture, EmfAndWmfLoadAsVectorsWhateverTheirName) {
    const struct {
        QByteArray name;
        metafile_test::Bytes bytes;
    } cases[] = {
        {"sample.emf", metafile_test::sampleEmf()},
        {"sample.wmf", metafile_test::sampleWmf(true)},
        {"standard.wmf", metafile_test::sampleWmf(false)},
        {"emf-inside.jpg", metafile_test::sampleEmf()},
        {"wmf-inside.bmp", metafile_test::sampleWmf(true)},
    };
    for (const auto& c : cases) {
        QString reason;
        const Picture p = loader.load(put(c.name, c.bytes), &reason);
        ASSERT_FALSE(p.isNull()) << c.name.constData() << ": " << reason.toStdString();
        EXPECT_TRUE(p.isVector()) << c.name.constData();
        EXPECT_EQ(p.width(), 192);
        EXPECT_EQ(p.height(), 144);
        // Rasterised at its natural size where a bitmap is needed.
        const QImage image = p.toImage();
        EXPECT_EQ(image.size(), QSize(192, 144));
        EXPECT_TRUE(isRed(image.pixel(50, 40))) << c.name.constData();
    }
    // Browse loads on worker threads, several helpers at once; text and
    // bitmaps make the SVG check there use fonts and images.
    const metafile_test::Bytes kinds[] = {metafile_test::textEmf(), metafile_test::textWmf(),
                                          metafile_test::bitmapEmf(), metafile_test::richEmf()};
    QStringList paths;
    for (int i = 0; i < 4; ++i)
        paths.append(put(QByteArray("m") + QByteArray::number(i) + ".jpg", kinds[i]));
    PicturePrefetch prefetch(loader, paths, 3);
    while (!prefetch.atEnd()) {
        const LoadedPicture loaded = *prefetch.takeNext();
        EXPECT_TRUE(loaded.picture.isVector()) << loaded.error.toStdString();
    }
}

TEST_F(MetafileFixture, NameThatIsNotUtf8ReachesTheHelper) {
    const QByteArray name = "odd\xff\xfe.emf";
    ASSERT_TRUE(writeRaw(root + name, bytesOf(metafile_test::sampleEmf())));
    QtFileSystem fs;
    const QStringList names = fs.listFiles(dir.path(), QStringLiteral("*.emf"));
    ASSERT_EQ(names.size(), 1);
    QString reason;
    const Picture p = loader.load(dir.path() + QLatin1Char('/') + names[0], &reason);
    EXPECT_TRUE(p.isVector()) << reason.toStdString();
    ::unlink(QByteArray(root + name).constData());
}

TEST_F(MetafileFixture, DamagedMetafilesAreRefusedWithAReason) {
    metafile_test::Bytes cut = metafile_test::sampleEmf();
    cut.resize(120);
    metafile_test::Bytes lying = metafile_test::sampleWmf(true);
    // Claim a record far longer than the file.
    metafile_test::putU32(lying, 22 + 18, 0x7fffffff);
    for (const auto& [name, bytes] :
         {std::pair{QByteArray("cut.emf"), cut}, std::pair{QByteArray("lying.wmf"), lying}}) {
        QString reason;
        const Picture p = loader.load(put(name, bytes), &reason);
        if (p.isNull())
            EXPECT_FALSE(reason.isEmpty()) << name.constData();
        else
            EXPECT_GT(p.width(), 0) << name.constData();
    }
    QtPictureFiles noHelper(dir.path() + QStringLiteral("/no-such-helper"));
    QString reason;
    EXPECT_TRUE(noHelper.load(put("sample.emf", metafile_test::sampleEmf()), &reason).isNull());
    EXPECT_TRUE(reason.startsWith(QStringLiteral("the metafile reader is missing: ") + dir.path() +
                                  QStringLiteral("/no-such-helper")))
        << reason.toStdString();
}

TEST_F(MetafileFixture, CopyPutsTheMetafileOnTheClipboardAsABitmap) {
    QtPlatform qt;
    FakeDialogs dialogs;
    FakeMessageBox messages;
    Platform platform{qt.clipboard, qt.clock, qt.files,   qt.pictures, dialogs,
                      messages,     qt.shell, qt.printer, qt.converter};
    CaptureWindow window;
    QtViewerHost viewers(window);
    formCapture form(window, platform, viewers);
    window.attach(form.gallery(), form);
    form.Form_Load();
    window.show();

    dialogs.answers.push_back(put("sample.emf", metafile_test::sampleEmf()));
    form.menuCommand(Command::Open);
    ASSERT_TRUE(form.gallery().imgView(0).picture.isVector()) << messages.shown.size();
    form.menuCommand(Command::Copy);

    QImage copied;
    QDeadlineTimer deadline(5000);
    while (copied.isNull() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        copied = QGuiApplication::clipboard()->image();
    }
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), QSize(192, 144));
    EXPECT_TRUE(isRed(copied.pixel(50, 40)));
    EXPECT_EQ(form.gallery().topIndex(), 0) << "its own copy is not taken back";
    EXPECT_TRUE(form.gallery().IgnoreClipboard);
    QGuiApplication::clipboard()->clear();
}

// A helper past its time limit is ended and the reason told.
TEST_F(MetafileFixture, AHelperPastItsTimeIsEnded) {
    const QString helper = dir.path() + QStringLiteral("/silent-helper");
    QFile script(helper);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec sleep 30\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString file = put("slow.wmf", metafile_test::sampleWmf(true));

    QtPictureFiles slow(helper, 1500);
    QElapsedTimer clock;
    clock.start();
    QString reason;
    EXPECT_TRUE(slow.load(file, &reason).isNull());
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(reason, QStringLiteral("the metafile reader took too long"));
    EXPECT_GE(elapsed, 1500);
    EXPECT_LT(elapsed, 6000) << "the helper was ended, not waited for";
}
