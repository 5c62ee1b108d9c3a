// Pictures loaded from JPEG and GIF files: held as the file's bytes, decoded
// anew at each use to the same pixels, thumbnails from a scaled decode.
#include "address_space_limit.h"
#include "integration/test_pictures.h"
#include "pictures/jpeg_decoding.h"
#include "platform/qt/files/qt_picture_files.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <turbojpeg.h>

using namespace testpics;

namespace {

using Handle = std::unique_ptr<void, int (*)(tjhandle)>;

QByteArray cmykJpegOf(const QImage& rgb) {
    const QByteArray bytes = cmykJpeg(rgb);
    EXPECT_FALSE(bytes.isEmpty());
    return bytes;
}

/** The whole JPEG decoded by TurboJPEG with its defaults, as RGB32. */
QImage wholeDecode(const QByteArray& jpeg) {
    const Handle handle(tjInitDecompress(), tjDestroy);
    int w = 0, h = 0, sub = 0, cs = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    if (tjDecompressHeader3(handle.get(), data, jpeg.size(), &w, &h, &sub, &cs) != 0)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    if (tjDecompress2(handle.get(), data, jpeg.size(), image.bits(), w, int(image.bytesPerLine()),
                      h, TJPF_BGRX, 0) != 0)
        return {};
    return image;
}

QImage rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

/** Mean difference per colour channel. */
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = rgb32(a), y = rgb32(b);
    if (x.size() != y.size())
        return 1e9;
    double sum = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            sum +=
                qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

/** The grey JPEG made progressive by jpegtran with exactly kMaxJpegScans scans,
    all valid: the DC in two steps, each AC coefficient in a scan of its own,
    then their refinement. */
QByteArray withMostScans(const QByteArray& jpeg, const QString& folder) {
    QString script = QStringLiteral("0: 0 0 0 1;\n0: 0 0 1 0;\n");
    for (int k = 1; k < 64; ++k)
        script += QStringLiteral("0: %1 %1 0 1;\n").arg(k);
    for (int k = 1; k < 35; ++k)
        script += QStringLiteral("0: %1 %1 1 0;\n").arg(k);
    script += QStringLiteral("0: 35 63 1 0;\n");
    const QString scriptPath = folder + QStringLiteral("/scans.txt");
    EXPECT_TRUE(writeFile(scriptPath, script.toLatin1()));
    QProcess jpegtran;
    jpegtran.start(QStringLiteral("jpegtran"), {QStringLiteral("-scans"), scriptPath});
    jpegtran.write(jpeg);
    jpegtran.closeWriteChannel();
    EXPECT_TRUE(jpegtran.waitForFinished(60000));
    EXPECT_EQ(jpegtran.exitCode(), 0) << jpegtran.readAllStandardError().toStdString();
    return jpegtran.readAllStandardOutput();
}

struct PhotoFixture : ::testing::Test {
    QTemporaryDir dir;
    QtPictureFiles loader;

    QString put(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(writeFile(path, bytes)) << name.toStdString();
        return path;
    }
};

} // namespace

TEST_F(PhotoFixture, HeldFilesDecodeToTheWholeDecodesPixelsEveryTime) {
    const QImage photo = photoLike(640, 424, 7);
    const QByteArray baseline = jpegOf(photo, false);
    const QByteArray progressive = jpegOf(photo, true);
    const QByteArray grey = jpegOf(photo.convertToFormat(QImage::Format_Grayscale8), false);
    const QByteArray cmyk = cmykJpegOf(photo);
    QImage indexed(200, 120, QImage::Format_Indexed8);
    const QList<QRgb> palette = {0xff000000, 0xffc000c0, 0xff00c0c0, 0xffffffff};
    QByteArray gifPixels;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            gifPixels += char((x / 10 + y / 10) % 4);
    const QByteArray gifFile = gif(200, 120, {gifPixels}, palette);
    const struct {
        const char* name;
        QByteArray bytes;
        QImage whole;
    } cases[] = {
        {"baseline.jpg", baseline, wholeDecode(baseline)},
        {"progressive.jpg", progressive, wholeDecode(progressive)},
        {"grey.jpg", grey, wholeDecode(grey)},
        {"cmyk.jpg", cmyk, QImage::fromData(cmyk)},
        {"flat.gif", gifFile, QImage::fromData(gifFile)},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.whole.isNull()) << c.name;
        QString error;
        const Picture picture = loader.load(put(QString::fromLatin1(c.name), c.bytes), &error);
        ASSERT_FALSE(picture.isNull()) << c.name << " " << error.toStdString();
        EXPECT_TRUE(picture.isHeldAsFile()) << c.name;
        // The thumbnail comes first, as in the gallery; then only the file is held.
        const QSize thumbSize(74, 58);
        const QImage thumb = picture.thumbnail(thumbSize);
        EXPECT_TRUE(picture.compact()) << c.name;
        EXPECT_TRUE(picture.isCompact()) << c.name;
        for (int round = 0; round < 3; ++round)
            EXPECT_TRUE(rgb32(picture.toImage()) == rgb32(c.whole)) << c.name << " " << round;
        const QImage scaledWhole =
            rgb32(c.whole).scaled(thumbSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(meanDifference(thumb, scaledWhole), 3.0) << c.name;
    }
    if (HasFailure())
        return;
    // A camera-sized photo's thumbnail needs a fraction of its whole decode's memory.
    const QByteArray large = jpegOf(photoLike(6000, 4000, 11), false);
    QString error;
    const Picture photoPicture = loader.load(put(QStringLiteral("large.jpg"), large), &error);
    ASSERT_FALSE(photoPicture.isNull()) << error.toStdString();
    ASSERT_TRUE(photoPicture.compact());
#if !defined(__SANITIZE_ADDRESS__)
    // 40 MiB to spare: the whole decode needs 92 MiB, the one at an eighth 1.5 MiB.
    AddressSpaceLimit limit(40 << 20);
    ASSERT_TRUE(limit.active());
    const QImage bigThumb = photoPicture.thumbnail(QSize(400, 300));
    const QImage whole = photoPicture.toImage();
    limit.lift();
    EXPECT_EQ(bigThumb.size(), QSize(400, 300));
    EXPECT_TRUE(whole.isNull()) << "the whole decode did not fit";
    EXPECT_EQ(photoPicture.toImage().size(), QSize(6000, 4000)) << "it does with memory again";
#endif
}

TEST_F(PhotoFixture, TheFileChangedOrDeletedAfterLoadingLeavesThePictureAsItWas) {
    const QByteArray first = jpegOf(photoLike(320, 200, 1), false);
    const QString jpgPath = put(QStringLiteral("a.jpg"), first);
    const QList<QRgb> palette = {0xff000000, 0xffc00000};
    const QString gifPath = put(QStringLiteral("a.gif"), gif(16, 8, {QByteArray(128, 1)}, palette));
    QString error;
    const Picture jpg = loader.load(jpgPath, &error);
    const Picture gifPicture = loader.load(gifPath, &error);
    ASSERT_FALSE(jpg.isNull());
    ASSERT_FALSE(gifPicture.isNull());
    jpg.compact();
    gifPicture.compact();
    put(QStringLiteral("a.jpg"), jpegOf(photoLike(320, 200, 2), false));
    put(QStringLiteral("a.gif"), gif(16, 8, {QByteArray(128, 0)}, palette));
    EXPECT_TRUE(rgb32(jpg.toImage()) == wholeDecode(first)) << "changed";
    EXPECT_EQ(gifPicture.toImage().pixel(3, 3), 0xffc00000u) << "changed";
    ASSERT_TRUE(QFile::remove(jpgPath));
    ASSERT_TRUE(QFile::remove(gifPath));
    EXPECT_TRUE(rgb32(jpg.toImage()) == wholeDecode(first)) << "deleted";
    EXPECT_EQ(gifPicture.toImage().pixel(3, 3), 0xffc00000u) << "deleted";
}

TEST_F(PhotoFixture, DamagedAndEndlesslyScannedJpegsAreRefusedAtLoad) {
    const QByteArray progressive = jpegOf(photoLike(800, 600, 3), true);
    QByteArray corrupt = jpegOf(photoLike(800, 600, 4), false);
    for (qsizetype i = corrupt.size() / 2; i < corrupt.size() / 2 + 64; ++i)
        corrupt[i] = char(0xd3 ^ corrupt[i]);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut.jpg", progressive.left(progressive.size() * 7 / 10)},
        {"corrupt.jpg", corrupt},
        {"bomb.jpg", scanBomb(200, 5000)},
        // Qt's reader, which decodes CMYK, only warns about this and shows grey blocks.
        {"cut-cmyk.jpg", cmykJpeg(photoLike(400, 300, 5), TJFLAG_PROGRESSIVE).chopped(6000)},
    };
    for (const auto& c : cases) {
        QString error;
        const Picture picture = loader.load(put(QString::fromLatin1(c.name), c.bytes), &error);
        EXPECT_TRUE(picture.isNull()) << c.name;
        EXPECT_TRUE(error.startsWith(QStringLiteral("the picture data is damaged or incomplete")))
            << c.name << " " << error.toStdString();
    }
    // The hostile file is refused by its count of scans, before any decoding;
    // a valid file of as many scans as the limit allows loads.
    QString error;
    loader.load(put(QStringLiteral("bomb2.jpg"), scanBomb(200, 5000)), &error);
    EXPECT_TRUE(error.contains(QStringLiteral("more than %1 scans").arg(kMaxJpegScans)))
        << error.toStdString();
    const QByteArray most = withMostScans(
        jpegOf(photoLike(256, 192, 5).convertToFormat(QImage::Format_Grayscale8), false),
        dir.path());
    ASSERT_EQ(jpegScanCount(most, 1000), kMaxJpegScans);
    const Picture loaded = loader.load(put(QStringLiteral("most-scans.jpg"), most), &error);
    ASSERT_FALSE(loaded.isNull()) << error.toStdString();
    EXPECT_TRUE(rgb32(loaded.toImage()) == wholeDecode(most));
}

// TEM markers carry no length; a count that read one would skip the scans behind it,
// and Qt's reader, which decodes CMYK, would pass over each of them.
TEST_F(PhotoFixture, ScansBehindTemMarkersAreCountedOnBothDecoders) {
    const QImage photo = photoLike(256, 256, 8);
    const struct {
        const char* name;
        QByteArray jpeg;
    } cases[] = {
        {"cmyk-tem.jpg", cmykJpeg(photo, TJFLAG_PROGRESSIVE)},
        {"rgb-tem.jpg", jpegOf(photo, true)},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.jpeg.isEmpty()) << c.name;
        const qsizetype last = c.jpeg.lastIndexOf("\xff\xda");
        const QByteArray scan = "\xff\x01" + c.jpeg.mid(last, c.jpeg.size() - 2 - last);
        const QByteArray hidden =
            c.jpeg.left(c.jpeg.size() - 2) + scan.repeated(2000) + QByteArray("\xff\xd9");
        QString error;
        QElapsedTimer took;
        took.start();
        const Picture picture = loader.load(put(QString::fromLatin1(c.name), hidden), &error);
        EXPECT_LT(took.elapsed(), 1000) << c.name;
        EXPECT_TRUE(picture.isNull()) << c.name;
        EXPECT_TRUE(error.contains(QStringLiteral("more than %1 scans").arg(kMaxJpegScans)))
            << c.name << " " << error.toStdString();
    }
}
