// Files that lie about themselves, or change while they are read: each is refused with a
// reason or loads whole, never shown with parts that are not in it.
#include "integration/test_pictures.h"
#include "pictures/picture_bounds.h"
#include "platform/qt/files/qt_picture_files.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using namespace testpics;

namespace {

// The file the shim below cuts short after the first read from it.
std::atomic<ino_t> g_cutInode{0};
std::atomic<off_t> g_cutTo{0};
QByteArray g_cutPath;

} // namespace

// A file cut short by another program while the loader reads it: every read goes through
// here, and the armed file is truncated right after the first read from it.
extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    using Read = ssize_t (*)(int, void*, size_t);
    static const auto next = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "read"));
    const ssize_t n = next(fd, buffer, count);
    struct stat info {};
    if (n > 0 && g_cutInode.load() != 0 && fstat(fd, &info) == 0 &&
        info.st_ino == g_cutInode.load()) {
        g_cutInode = 0;
        truncate(g_cutPath.constData(), g_cutTo.load());
    }
    return n;
}

namespace {

struct HostileFiles : ::testing::Test {
    QTemporaryDir dir;
    QtPictureFiles loader;

    QString put(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes)) << name.toStdString();
        return path;
    }
    // The reason the file was refused, or "" when it loaded.
    QString refusal(const QString& name, const QByteArray& bytes, Picture* loaded = nullptr) {
        QString reason;
        const Picture p = loader.load(put(name, bytes), &reason);
        if (loaded)
            *loaded = p;
        if (!p.isNull())
            return {};
        EXPECT_FALSE(reason.isEmpty()) << name.toStdString();
        return reason.isEmpty() ? QStringLiteral("(no reason)") : reason;
    }
};

QImage noise(int w, int h, quint32 seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, random.generate() | 0xff000000);
    return image;
}

} // namespace

TEST_F(HostileFiles, FileCutShortWhileItIsReadIsRefused) {
    const QByteArray bmp = encoded(noise(400, 300, 7), "bmp");
    const QString path = put(QStringLiteral("cut-while-read.bmp"), bmp);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    g_cutPath = QFile::encodeName(path);
    g_cutTo = bmp.size() / 10;
    g_cutInode = info.st_ino;
    QString reason;
    const Picture p = loader.load(path, &reason);
    EXPECT_EQ(g_cutInode.load(), ino_t(0)) << "the file was read";
    g_cutInode = 0;
    EXPECT_TRUE(p.isNull()) << "loaded with rows that are not in the file";
    EXPECT_TRUE(reason.contains(QStringLiteral("shorter than its header says")))
        << reason.toStdString();
}

// Rows padded to four bytes: a file short by less than a row's padding is still short.
TEST_F(HostileFiles, PaddedBmpCutShortIsRefused) {
    const QByteArray bmp = encoded(noise(95, 40, 3).convertToFormat(QImage::Format_RGB888), "bmp");
    ASSERT_EQ(bmp.size(), 54 + 288 * 40) << "24-bit rows of 285 bytes padded to 288";
    for (int missing : {1, 100}) {
        const QString reason =
            refusal(QStringLiteral("padded.bmp"), bmp.left(bmp.size() - missing));
        EXPECT_TRUE(reason.contains(QStringLiteral("shorter than its header says")))
            << missing << ": " << reason.toStdString();
    }
}

// Noise makes long LZW data in many sub-blocks. Whole, the first frame is exact; cut short,
// the file is refused or, where the cut spares the first frame, gives all of it.
TEST_F(HostileFiles, NoisyGifsLoadWholeOrAreRefused) {
    const int w = 160, h = 120;
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, 255 - i, (i * 37) & 0xff));
    QRandomGenerator random(11);
    for (int frameCount : {1, 3}) {
        QList<QByteArray> frames;
        for (int f = 0; f < frameCount; ++f) {
            QByteArray pixels(w * h, 0);
            for (char& c : pixels)
                c = char(random.bounded(256));
            frames.append(pixels);
        }
        const QByteArray whole = gif(w, h, frames, palette);
        for (qsizetype length : {whole.size(), whole.size() / 2, whole.size() * 9 / 10}) {
            Picture p;
            const QString reason = refusal(QStringLiteral("noise.gif"), whole.left(length), &p);
            const std::string what = std::to_string(frameCount) + " frames cut to " +
                                     std::to_string(length) + " of " +
                                     std::to_string(whole.size()) + ": " + reason.toStdString();
            if (length == whole.size() || frameCount == 1) {
                ASSERT_EQ(reason.isEmpty(), length == whole.size()) << what;
            }
            if (!reason.isEmpty())
                continue;
            const QImage image = p.toImage();
            ASSERT_EQ(image.size(), QSize(w, h)) << what;
            for (int i = 0; i < w * h; ++i)
                ASSERT_EQ(image.pixel(i % w, i / w) & 0xffffff,
                          palette[uchar(frames[0][i])] & 0xffffff)
                    << what << ", pixel " << i;
        }
    }
}

// A picture without pixels is damaged, not too large; the bound itself holds to the pixel.
TEST_F(HostileFiles, EmptyPicturesAreDamagedAndTheBoundIsExact) {
    QByteArray emptyScreen = gif(8, 8, {QByteArray(64, 1)}, {0, 0xffffffff});
    emptyScreen.replace(6, 4, QByteArray(4, 0));
    for (const auto& [name, bytes] :
         {std::pair{QStringLiteral("empty-screen.gif"), emptyScreen},
          std::pair{QStringLiteral("no-width.bmp"), bmpHeader(0, 10)}}) {
        const QString reason = refusal(name, bytes);
        EXPECT_TRUE(reason.startsWith(QStringLiteral("the picture data is damaged")))
            << name.toStdString() << ": " << reason.toStdString();
    }
    // Headers alone: within the bound a file is only too short, past it too large.
    const QString tooLarge = QStringLiteral("more than this program takes");
    const QString tooShort = QStringLiteral("shorter than its header says");
    const struct {
        int w, h;
        const QString& reason;
    } sides[] = {{kMaxPictureSide, 1, tooShort},     {1, kMaxPictureSide, tooShort},
                 {kMaxPictureSide + 1, 1, tooLarge}, {1, kMaxPictureSide + 1, tooLarge},
                 {16384, 16384, tooShort},           {16384, 16385, tooLarge}};
    for (const auto& s : sides) {
        const QString reason = refusal(QStringLiteral("bound.bmp"), bmpHeader(s.w, s.h));
        EXPECT_TRUE(reason.contains(s.reason)) << s.w << "x" << s.h << ": " << reason.toStdString();
    }
}

namespace {

// A 16-bit RGB PNG of one colour: Qt decodes it to 8 bytes a pixel.
QByteArray sixteenBitPng(quint32 w, quint32 h) {
    const auto chunk = [](QByteArray& out, const char* type, const QByteArray& data) {
        put32be(out, quint32(data.size()));
        const QByteArray body = type + data;
        out.append(body);
        put32be(out, crc32(body));
    };
    QByteArray png = QByteArray::fromHex("89504e470d0a1a0a");
    QByteArray ihdr;
    put32be(ihdr, w);
    put32be(ihdr, h);
    ihdr.append(QByteArray::fromHex("1002000000")); // 16-bit RGB
    chunk(png, "IHDR", ihdr);

    QByteArray row(1 + qsizetype(w) * 6, 0);
    for (qsizetype i = 1; i < row.size(); i += 6)
        row.replace(i, 6, QByteArray::fromHex("ffff80800000"));
    z_stream z{};
    deflateInit(&z, Z_BEST_SPEED);
    QByteArray idat;
    char out[1 << 16];
    for (quint32 y = 0; y <= h; ++y) {
        z.next_in = reinterpret_cast<Bytef*>(row.data());
        z.avail_in = y < h ? uInt(row.size()) : 0;
        do {
            z.next_out = reinterpret_cast<Bytef*>(out);
            z.avail_out = sizeof out;
            deflate(&z, y < h ? Z_NO_FLUSH : Z_FINISH);
            idat.append(out, qsizetype(sizeof out - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    chunk(png, "IDAT", idat);
    chunk(png, "IEND", {});
    return png;
}

} // namespace

// Qt's own allocation limit must not refuse what the program's bound takes.
TEST_F(HostileFiles, SixteenBitPngWithinTheBoundLoads) {
    Picture p;
    ASSERT_EQ(refusal(QStringLiteral("deep.png"), sixteenBitPng(12000, 12000), &p), QString());
    EXPECT_EQ(p.width(), 12000);
    EXPECT_EQ(p.height(), 12000);
    EXPECT_EQ(p.toImage().pixel(11999, 11999) & 0xffffff, 0xff8000u);
}
