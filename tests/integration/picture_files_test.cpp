#include "integration/test_pictures.h"
#include "platform/qt/files/qt_converter.h"
#include "platform/qt/files/qt_file_system.h"
#include "platform/qt/files/qt_picture_files.h"

#include <QDir>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testpics;

namespace {

struct LoaderFixture : ::testing::Test {
    QTemporaryDir dir;
    QtPictureFiles loader;

    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QString put(const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(writeFile(path(name), bytes)) << name.toStdString();
        return path(name);
    }
    /** A picture with a distinct colour in each quadrant. */
    static QImage quadrants(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y,
                               x < w / 2 ? (y < h / 2 ? 0xffff0000 : 0xff00ff00)
                                         : (y < h / 2 ? 0xff0000ff : 0xffffffff));
        return image;
    }
    static bool near(QRgb a, QRgb b, int tolerance = 24) {
        return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
               qAbs(qBlue(a) - qBlue(b)) <= tolerance;
    }
    static void expectQuadrants(const Picture& p, int w, int h, const std::string& what) {
        ASSERT_FALSE(p.isNull()) << what;
        EXPECT_FALSE(p.isVector());
        ASSERT_EQ(p.width(), w) << what;
        ASSERT_EQ(p.height(), h) << what;
        const QImage image = p.toImage();
        EXPECT_TRUE(near(image.pixel(w / 4, h / 4), 0xffff0000)) << what;
        EXPECT_TRUE(near(image.pixel(w / 4, 3 * h / 4), 0xff00ff00)) << what;
        EXPECT_TRUE(near(image.pixel(3 * w / 4, h / 4), 0xff0000ff)) << what;
        EXPECT_TRUE(near(image.pixel(3 * w / 4, 3 * h / 4), 0xffffffff)) << what;
    }
    Picture load(const QString& p, QString* reason) { return loader.load(p, reason); }
};

/** Peak resident memory since the last reset, in bytes. */
qint64 peakResident() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}
bool resetPeakResident() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

TEST_F(LoaderFixture, ReadsEachFormatByContentWhateverTheName) {
    const QImage image = quadrants(64, 48);
    const QByteArray jpg = encoded(image, "jpg", 95);
    const QByteArray bmp = encoded(image, "bmp");
    const QByteArray png = encoded(image, "png");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"photo.jpg", jpg},      {"plain.bmp", bmp},      {"shot.png", png},
        {"bmp-inside.jpg", bmp}, {"png-inside.jpg", png}, {"jpeg-inside.bmp", jpg},
        {"no-extension", jpg},   {"UPPER.JPG", jpg},
    };
    for (const auto& c : cases) {
        QString reason;
        const Picture p = load(put(QString::fromLatin1(c.name), c.bytes), &reason);
        expectQuadrants(p, 64, 48, c.name);
        EXPECT_TRUE(reason.isEmpty()) << c.name;
    }
}

TEST_F(LoaderFixture, JpegDecodesToOpaqueRgb32) {
    QImage image = quadrants(33, 17); // odd sizes, partial MCUs
    QString reason;
    const Picture p = load(put("odd.jpg", encoded(image, "jpg", 90)), &reason);
    expectQuadrants(p, 33, 17, "odd.jpg");
    const QImage decoded = p.toImage();
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    for (int y = 0; y < decoded.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
        for (int x = 0; x < decoded.width(); ++x)
            ASSERT_EQ(qAlpha(line[x]), 255) << x << "," << y;
    }
    // Grey and progressive JPEGs go the same way.
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(load(put("grey.jpg", encoded(grey, "jpg", 90)), &reason).width(), 33);
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(image));
    }
    expectQuadrants(load(put("progressive.jpg", progressive), &reason), 33, 17, "progressive");
}

TEST_F(LoaderFixture, RleBitmapsDecodeExactly) {
    for (int bpp : {8, 4}) {
        QImage indexed(37, 21, QImage::Format_Indexed8);
        const int colours = bpp == 8 ? 200 : 16;
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(qRgb(i * 37 % 256, i * 91 % 256, 255 - i * 13 % 256));
        indexed.setColorTable(table);
        QRandomGenerator rng{quint32(bpp)};
        for (int y = 0; y < indexed.height(); ++y)
            for (int x = 0; x < indexed.width(); ++x)
                // Long runs on the left, noise on the right: both RLE modes.
                indexed.setPixel(x, y, x < 20 ? (y % colours) : int(rng.bounded(colours)));
        QString reason;
        const Picture p =
            load(put(QStringLiteral("run%1.rle").arg(bpp), rleBmp(indexed, bpp)), &reason);
        ASSERT_FALSE(p.isNull()) << bpp << ": " << reason.toStdString();
        const QImage got = p.toImage().convertToFormat(QImage::Format_RGB32);
        const QImage want = indexed.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(got.size(), want.size());
        EXPECT_EQ(got, want) << "RLE" << bpp;
    }
}

TEST_F(LoaderFixture, GifGivesItsFirstFrame) {
    const int w = 40, h = 30;
    QByteArray first(w * h, char(1)), second(w * h, char(2));
    for (int i = 0; i < w * h; i += 7)
        first[i] = char(3);
    const QList<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0)};
    QList<QByteArray> frames = {first, second};
    for (int i = 0; i < 30; ++i)
        frames.append(i % 2 ? first : second);
    QString reason;
    const Picture p = load(put("anim.gif", gif(w, h, frames, palette)), &reason);
    ASSERT_FALSE(p.isNull()) << reason.toStdString();
    ASSERT_EQ(p.width(), w);
    const QImage image = p.toImage();
    for (int i = 0; i < w * h; ++i)
        ASSERT_EQ(image.pixel(i % w, i / w) & 0xffffff, palette[uchar(first[i])] & 0xffffff) << i;
}

TEST_F(LoaderFixture, DamagedFilesAreRefusedWithAReason) {
    const QImage image = quadrants(96, 64);
    const QByteArray jpg = encoded(image, "jpg", 90);
    const QByteArray valid[] = {
        jpg, encoded(image, "bmp"), gif(8, 8, {QByteArray(64, 1)}, {0, 0xffffffff}),
        rleBmp(image.convertToFormat(QImage::Format_Indexed8), 8), encoded(image, "png")};
    const char* extensions[] = {"jpg", "bmp", "gif", "rle", "png", "emf", "wmf"};
    QRandomGenerator rng(42);
    for (const char* ext : extensions) {
        const QString e = QString::fromLatin1(ext);
        QString reason;
        EXPECT_TRUE(load(put("zero." + e, {}), &reason).isNull()) << ext;
        EXPECT_EQ(reason, QStringLiteral("the file is empty"));

        QByteArray noise(4096, 0);
        for (char& c : noise)
            c = char(rng.bounded(256));
        reason.clear();
        EXPECT_TRUE(load(put("noise." + e, noise), &reason).isNull()) << ext;
        EXPECT_FALSE(reason.isEmpty()) << ext;
    }
    // Cut short, JPEG, BMP (RLE too) and GIF files are refused with the reason, never
    // shown with rows that are not in the file; PNG refuses or gives its full size, and
    // so does a GIF that lacks only its closing byte.
    for (const QByteArray& bytes : valid) {
        const bool png = bytes.startsWith("\x89PNG");
        for (qsizetype length :
             {bytes.size() / 10, bytes.size() / 2, bytes.size() * 9 / 10, bytes.size() - 1}) {
            const bool mayBeWhole = png || (bytes.startsWith("GIF") && length == bytes.size() - 1);
            QString reason;
            const Picture p = load(put("cut", bytes.left(length)), &reason);
            const std::string what = bytes.left(3).toHex().toStdString() + " cut to " +
                                     std::to_string(length) + ": " + reason.toStdString();
            if (!mayBeWhole || p.isNull()) {
                EXPECT_TRUE(p.isNull()) << what;
                EXPECT_FALSE(reason.isEmpty()) << what;
            } else {
                EXPECT_EQ(p.width(), QImage::fromData(bytes).width()) << what;
            }
        }
    }
    // A JPEG that libjpeg finishes only with a warning (its end is missing) is damaged.
    QString cutReason;
    EXPECT_TRUE(load(put("warning.jpg", jpg.left(jpg.size() - 60)), &cutReason).isNull());
    EXPECT_TRUE(cutReason.startsWith(QStringLiteral("the picture data is damaged")))
        << cutReason.toStdString();
    // A JPEG whose Huffman tables are garbage cannot be decoded at all.
    QByteArray broken = jpg;
    const qsizetype dht = broken.indexOf("\xff\xc4");
    ASSERT_GT(dht, 0);
    for (qsizetype i = dht + 5; i < dht + 40; ++i)
        broken[i] = char(0xff);
    QString reason;
    EXPECT_TRUE(load(put("broken.jpg", broken), &reason).isNull());
    EXPECT_TRUE(reason.startsWith(QStringLiteral("the picture data is damaged")))
        << reason.toStdString();
}

TEST_F(LoaderFixture, EightKLoadsAndAbsurdHeadersAreRefusedWithoutMemory) {
    QImage big(7680, 4320, QImage::Format_RGB32);
    big.fill(0xff204080);
    QString reason;
    const Picture p = load(put("8k.jpg", encoded(big, "jpg", 80)), &reason);
    ASSERT_FALSE(p.isNull()) << reason.toStdString();
    EXPECT_EQ(p.width(), 7680);
    EXPECT_EQ(p.height(), 4320);

    const QByteArray small = encoded(quadrants(16, 16), "jpg", 90);
    const struct {
        const char* name;
        QByteArray bytes;
    } huge[] = {
        {"huge.bmp", bmpHeader(100000, 100000)},
        {"huge.png", pngHeader(100000, 100000)},
        {"huge.jpg", withJpegSize(small, 65000, 65000)},
        {"huge.gif",
         gif(1, 1, {QByteArray(1, 0)}, {0}).replace(6, 4, QByteArray::fromHex("ffffffff"))},
    };
    ASSERT_TRUE(resetPeakResident());
    const qint64 before = peakResident();
    for (const auto& c : huge) {
        reason.clear();
        const Picture refused = load(put(QString::fromLatin1(c.name), c.bytes), &reason);
        EXPECT_TRUE(refused.isNull()) << c.name;
        EXPECT_TRUE(reason.contains(QStringLiteral("more than this program takes")))
            << c.name << ": " << reason.toStdString();
    }
    EXPECT_LT(peakResident() - before, 32 * 1024 * 1024) << "nothing large was allocated";
}

// One bound for the loader and the converter: a long, thin picture that loads, saves.
TEST_F(LoaderFixture, WhatLoadsUpTo65500ASideAlsoSavesAsJpeg) {
    QImage wide(20000, 10, QImage::Format_RGB32);
    wide.fill(0xff3070b0);
    QString reason;
    const Picture p = load(put("wide.bmp", encoded(wide, "bmp")), &reason);
    ASSERT_FALSE(p.isNull()) << reason.toStdString();
    EXPECT_EQ(p.width(), 20000);
    QtConverter converter(QtConverter::defaultLibraryPath());
    ASSERT_TRUE(converter.BmpToJpeg(path("wide.bmp"), path("wide.jpg"), 100, &reason))
        << reason.toStdString();
    EXPECT_EQ(QImage(path("wide.jpg")).size(), QSize(20000, 10));

    EXPECT_TRUE(
        load(put("65501.bmp", bmpHeader(65501, 1) + QByteArray(65501 * 4, 0)), &reason).isNull());
    EXPECT_TRUE(reason.contains(QStringLiteral("65500 pixels a side"))) << reason.toStdString();
}

TEST_F(LoaderFixture, WhatIsNoOrdinaryFileIsRefusedAtOnce) {
    QString reason;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x.jpg")));
    EXPECT_TRUE(load(path("x.jpg"), &reason).isNull());
    EXPECT_EQ(reason, QStringLiteral("it is a folder, not a file"));

    // A FIFO would block a plain open until a writer came.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.jpg")).constData(), 0600), 0);
    EXPECT_TRUE(load(path("pipe.jpg"), &reason).isNull());
    EXPECT_EQ(reason, QStringLiteral("it is not an ordinary file"));

    EXPECT_TRUE(load(path("missing.jpg"), &reason).isNull());
    EXPECT_EQ(reason, QStringLiteral("No such file or directory"));
}

TEST_F(LoaderFixture, UnreadableFileGivesTheSystemsReason) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: file permissions do not stop root from reading";
    const QString p = put("locked.jpg", encoded(quadrants(8, 8), "jpg"));
    ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0), 0);
    QString reason;
    EXPECT_TRUE(load(p, &reason).isNull());
    EXPECT_EQ(reason, QStringLiteral("Permission denied"));
}

TEST(FileNames, InvalidUtf8BytesSurviveTheRoundTrip) {
    const QByteArray samples[] = {
        "plain.jpg",
        "with space.jpg",
        "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.jpg",
        "bad\xff\xfe.jpg",
        "latin1 caf\xe9.jpg",
        "cut\xe6\x97.jpg",
        "overlong\xc0\xaf.jpg",
        "surrogate\xed\xa0\x80.jpg",
        "emoji \xf0\x9f\x93\xb7.jpg",
    };
    for (const QByteArray& bytes : samples) {
        const QString name = decodeFileName(bytes);
        EXPECT_EQ(encodeFileName(name), bytes) << bytes.toHex().toStdString();
        if (QString::fromUtf8(bytes).toUtf8() == bytes) { // valid UTF-8
            EXPECT_EQ(name, QString::fromUtf8(bytes));
        }
    }
    EXPECT_EQ(encodeFileName(QStringLiteral("/tmp/é")),
              QFile::encodeName(QStringLiteral("/tmp/é")));
    // Any bytes at all, biased towards the lead bytes of multi-byte sequences.
    QRandomGenerator rng(7);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes(int(rng.bounded(1, 12)), 0);
        for (char& c : bytes)
            c = char(rng.bounded(2) ? rng.bounded(1, 256) : 0xc0 + rng.bounded(0x40));
        ASSERT_EQ(encodeFileName(decodeFileName(bytes)), bytes) << bytes.toHex().toStdString();
    }
}

TEST(FolderListing, OrdinaryVisibleFilesOnlyAnyCaseInNameOrder) {
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path()) + '/';
    const auto touch = [&](const QByteArray& name) {
        const int fd = ::open(QByteArray(root + name).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0) << name.constData();
        ASSERT_EQ(::write(fd, "x", 1), 1);
        ::close(fd);
    };
    touch("b.jpg");
    touch("Photo.jpg");
    touch("apple.jpg");
    touch("A.JPG");
    touch("c d.Jpg");
    touch("bad\xff.jpg");
    touch("caf\xc3\xa9.jpg");
    touch(".hidden.jpg");
    touch("other.bmp");
    touch("x.jpg.txt");
    ASSERT_EQ(::mkdir(QByteArray(root + "folder.jpg").constData(), 0755), 0);
    ASSERT_EQ(::symlink(QByteArray(root + "b.jpg").constData(),
                        QByteArray(root + "link.jpg").constData()),
              0);
    ASSERT_EQ(::symlink(QByteArray(root + "gone").constData(),
                        QByteArray(root + "dangling.jpg").constData()),
              0);

    QtFileSystem fs;
    const QStringList names = fs.listFiles(dir.path(), QStringLiteral("*.jpg"));
    // Letter case does not decide the order: apple before Photo.
    const QStringList expected = {QStringLiteral("A.JPG"),    QStringLiteral("apple.jpg"),
                                  QStringLiteral("b.jpg"),    decodeFileName("bad\xff.jpg"),
                                  QStringLiteral("c d.Jpg"),  QStringLiteral("café.jpg"),
                                  QStringLiteral("link.jpg"), QStringLiteral("Photo.jpg")};
    EXPECT_EQ(names, expected);
    // Every listed name opens again, the one with an invalid byte included.
    QtPictureFiles loader;
    for (const QString& name : names) {
        EXPECT_EQ(fs.fileLength(dir.path() + QLatin1Char('/') + name), 1) << name.toStdString();
        QString reason;
        loader.load(dir.path() + QLatin1Char('/') + name, &reason);
        EXPECT_NE(reason, QStringLiteral("No such file or directory")) << name.toStdString();
    }
    EXPECT_TRUE(
        fs.listFiles(dir.path() + QStringLiteral("/missing"), QStringLiteral("*.jpg")).isEmpty());
    EXPECT_EQ(fs.listFiles(dir.path(), QStringLiteral("*.bmp")), QStringList({"other.bmp"}));
    // QTemporaryDir cannot see this name to remove it.
    ::unlink(QByteArray(root + "bad\xff.jpg").constData());
}
