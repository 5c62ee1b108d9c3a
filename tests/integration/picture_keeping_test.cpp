// Pictures in the gallery: thumbnails and packing off the interface thread,
// decoded copies held by the viewers only while they show them.
#include "address_space_limit.h"
#include "integration/test_pictures.h"
#include "integration/viewer_support.h"
#include "platform/qt/files/qt_picture_files.h"
#include "platform/qt/qt_printer.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage windowLike(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.fillRect(width / 8, height / 8, width / 2, height / 2, Qt::white);
    p.setPen(Qt::black);
    for (int y = height / 8 + 14; y < height * 5 / 8; y += 16)
        p.drawText(width / 8 + 4, y, QStringLiteral("void paintEvent(QPaintEvent*) %1").arg(y));
    return image;
}

QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator rng(3);
    for (int y = 0; y < height; ++y)
        rng.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), width);
    return image;
}

struct NoEvents final : MainWindowEvents {
    void Form_Resize() override {}
    void Form_MouseUp(int, int, int, int) override {}
    void Form_KeyDown(int, int) override {}
    void imgView_MouseUp(int, int, int, int, int) override {}
    void imgView_DblClick(int) override {}
    void menuCommand(Command) override {}
    void Form_Unload() override {}
};

} // namespace

TEST(PictureKeeping, ArrivalsGetThumbnailsAndArePackedOffTheWindowThread) {
    ViewerRig rig;
    Gallery& g = rig.gallery;
    NoEvents events;
    rig.owner.attach(g, events);
    const QImage screen = windowLike(1920, 1080, 0xff3060c0);
    QImage palette = windowLike(640, 480, 0xffc03020).convertToFormat(QImage::Format_Indexed8);
    const QImage random = noise(800, 600);
    g.AddImage(Picture::fromImage(screen));
    g.AddImage(Picture::fromImage(palette));
    g.AddImage(Picture::fromImage(random));
    rig.owner.galleryChanged();
    ASSERT_TRUE(rig.owner.keeper().waitForIdle(20000));

    const QSize thumbSize(74, 58);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(g.imgView(i).picture.cachedThumbnail(thumbSize).isNull()) << "entry " << i;
    EXPECT_TRUE(g.imgView(0).picture.isCompact());
    EXPECT_TRUE(g.imgView(1).picture.isCompact());
    EXPECT_FALSE(g.imgView(2).picture.isCompact()) << "noise is held as it came";
    EXPECT_TRUE(g.imgView(0).picture.toImage() == screen);
    EXPECT_TRUE(g.imgView(1).picture.toImage() == palette);
    // The window draws the kept thumbnail: the entry's colour shows.
    ASSERT_TRUE(waitFor([&] {
        const QImage shot = rig.owner.grab().toImage();
        return shot.pixelColor(5, 55) == QColor(0x30, 0x60, 0xc0);
    }));

    // Replaced and deleted while their work is queued or running: the entry
    // keeps what it holds now, and the dropped picture is freed.
    for (int round = 0; round < 5; ++round) {
        Picture::Weak dropped;
        {
            const Picture big = Picture::fromImage(windowLike(1920, 1080, 0xff102030 + round));
            dropped = Picture::Weak(big);
            g.imgView(0).picture = big;
            rig.owner.galleryChanged();
        }
        const Picture next = Picture::fromImage(windowLike(1280, 720, 0xff405060 + round));
        g.imgView(0).picture = next;
        rig.owner.galleryChanged();
        g.imgView(0).picture = Picture();
        rig.owner.galleryChanged();
        g.imgView(0).picture = next;
        ASSERT_TRUE(rig.owner.keeper().waitForIdle(20000));
        EXPECT_TRUE(g.imgView(0).picture.sameAs(next));
        EXPECT_EQ(g.imgView(0).picture.toImage().pixel(0, 0), 0xff405060u + round);
        EXPECT_TRUE(dropped.lock().isNull()) << "the replaced picture was freed";
    }
    g.imgView(0).picture = Picture();
    Picture::Weak last(g.imgView(1).picture);
    g.imgView(1).picture = Picture();
    EXPECT_TRUE(last.lock().isNull()) << "nothing keeps a deleted picture alive";
}

TEST(PictureKeeping, ZoomWindowHoldsTheDecodedCopyOnlyWhileOpen) {
    ViewerRig rig;
    const QImage source = windowLike(1600, 900, 0xff20a060);
    const Picture picture = Picture::fromImage(source);
    ASSERT_TRUE(picture.compact());
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 0);
    ZoomWindow* zoom = rig.lastZoom();
    ASSERT_TRUE(waitFor([&] { return zoom->imageView().framesPainted() > 0; }));
    EXPECT_TRUE(zoom->imageView().holdsDecodedCopy());
    EXPECT_FALSE(zoom->imageView().lacksMemory());
    rig.host.closeAll();
    EXPECT_FALSE(zoom->imageView().holdsDecodedCopy());
    EXPECT_TRUE(picture.isCompact());
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(PictureKeeping, ZoomWindowWithoutMemoryForTheDecodeSaysSo) {
    ViewerRig rig;
    const Picture picture = Picture::fromImage(windowLike(9000, 6000, 0xff6020a0));
    ASSERT_TRUE(picture.compact());
    // 64 MiB to spare: far less than the 206 MiB the decode needs.
    AddressSpaceLimit limit(64 << 20);
    ASSERT_TRUE(limit.active());
    rig.host.showInZoom(picture, QStringLiteral("Image 1"), 0);
    ZoomWindow* zoom = rig.lastZoom();
    const bool painted = waitFor([&] { return zoom->imageView().framesPainted() > 0; });
    limit.lift();
    ASSERT_TRUE(painted);
    EXPECT_TRUE(zoom->imageView().lacksMemory());
    EXPECT_FALSE(zoom->imageView().holdsDecodedCopy());
    const QImage shot = zoom->imageView().grab().toImage();
    EXPECT_NE(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(0x60, 0x20, 0xa0))
        << "the view shows the message, not the picture";
    EXPECT_TRUE(picture.isCompact());
    EXPECT_EQ(picture.toImage().size(), QSize(9000, 6000)) << "the picture itself is unharmed";
}
// The full-screen viewer, Save and Print meet a picture that cannot be decoded with a word,
// never with a blank screen, file or page.
TEST(PictureKeeping, FullScreenSaveAndPrintWithoutMemoryForTheDecodeSaySo) {
    QtPrinter printer(QStringLiteral("pictavo-memory-short"));
    float pageWidth = 0, pageHeight = 0;
    ASSERT_TRUE(printer.pageSizeTwips(&pageWidth, &pageHeight)) << "no printer to print on";
    QTemporaryDir dir;
    ViewerRig rig;
    const Picture picture = Picture::fromImage(windowLike(9000, 6000, 0xff6020a0));
    ASSERT_TRUE(picture.compact());
    AddressSpaceLimit limit(64 << 20);
    ASSERT_TRUE(limit.active());
    QString error;
    const bool saved = QtPictureFiles().writeBmp(picture, dir.filePath("short.bmp"), &error);
    const bool drawn = printer.drawPicture(picture, 0, 0, pageWidth, pageHeight);
    const bool printed = printer.endDocument();
    rig.host.showFullScreen(picture, QStringLiteral("Image 1"));
    FullScreenWindow* full = rig.fullScreen();
    const bool painted = full && waitFor([&] { return full->imageView().framesPainted() > 0; });
    limit.lift();
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QStringLiteral("there is not enough memory to decode the picture"));
    EXPECT_FALSE(QFile::exists(dir.filePath("short.bmp")));
    EXPECT_FALSE(drawn) << "a blank page went to the printer";
    EXPECT_FALSE(printed);
    ASSERT_TRUE(painted);
    EXPECT_TRUE(full->imageView().lacksMemory());
}
#endif

#if !defined(__SANITIZE_ADDRESS__)
TEST(PictureKeeping, PhotoHeldAsItsFileWithoutMemoryForTheDecodeIsToldSo) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/photo.jpg");
    ASSERT_TRUE(
        testpics::writeFile(path, testpics::jpegOf(testpics::photoLike(6000, 4000, 3), false)));
    QtPictureFiles files;
    QString error;
    const Picture picture = files.load(path, &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    ASSERT_TRUE(picture.compact());
    ASSERT_TRUE(picture.isHeldAsFile());
    // 48 MiB to spare: the whole decode needs 92 MiB. (No viewer here: Qt's
    // smooth scaling waits forever for a helper thread that cannot start.)
    AddressSpaceLimit limit(48 << 20);
    ASSERT_TRUE(limit.active());
    const bool saved = files.writeBmp(picture, dir.path() + QStringLiteral("/out.bmp"), &error);
    limit.lift();
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QStringLiteral("there is not enough memory to decode the picture"));
    EXPECT_EQ(picture.toImage().size(), QSize(6000, 4000)) << "the picture itself is unharmed";
}
#endif
