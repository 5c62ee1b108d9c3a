#include "address_space_limit.h"
#include "pictures/packed_image.h"
#include "pictures/picture.h"

#include <QColorSpace>
#include <QPainter>
#include <QRandomGenerator>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

/** A window with text-like strokes over a gradient, a noisy "photo" corner and, for
    formats with alpha, a transparent band. */
QImage screenLike(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    QLinearGradient g(0, 0, width, height);
    g.setColorAt(0, QColor(40, 60, 90));
    g.setColorAt(1, QColor(200, 180, 120, 200));
    p.fillRect(QRect(0, 0, width, height * 3 / 4), g);
    p.fillRect(QRect(width / 10, height / 10, width / 2, height / 2), QColor(247, 247, 247));
    // Lines of "glyphs": small dark strokes, as text has (no fonts without a display).
    QRandomGenerator rng(7);
    for (int y = height / 10 + 4; y + 10 < height * 6 / 10; y += 16)
        for (int x = width / 10 + 4; x + 6 < width * 6 / 10; x += 7)
            if (rng.bounded(5))
                p.fillRect(x, y + int(rng.bounded(3)), 1 + int(rng.bounded(5)), 7 + int(rng.bounded(4)),
                           QColor(30, 30, 30));
    p.end();
    for (int y = height / 2; y < height * 3 / 4; ++y)
        for (int x = width * 2 / 3; x < width; ++x)
            image.setPixel(x, y, qRgba(rng.bounded(256), rng.bounded(256), rng.bounded(256),
                                       128 + rng.bounded(128)));
    return image.convertToFormat(format, Qt::ThresholdDither);
}

QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator rng(11);
    for (int y = 0; y < height; ++y)
        rng.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), width);
    return image;
}

/** Every pixel bit of the used part of each row, and the colour table. */
void expectSameBits(const QImage& a, const QImage& b, const char* what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    ASSERT_EQ(a.format(), b.format()) << what;
    EXPECT_EQ(a.colorTable(), b.colorTable()) << what;
    const std::size_t rowBytes = (std::size_t(a.width()) * a.depth() + 7) / 8;
    for (int y = 0; y < a.height(); ++y)
        ASSERT_EQ(std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes), 0)
            << what << ", row " << y;
}

} // namespace

TEST(PackedImage, RoundTripIsBitExactForEveryFormatTheGalleryHolds) {
    struct Case {
        const char* name;
        QImage image;
    };
    QImage indexed = screenLike(333, 97, QImage::Format_Indexed8);
    QImage mono = screenLike(101, 67, QImage::Format_Mono);
    mono.setColorTable({qRgba(0, 0, 0, 0), qRgb(255, 255, 255)});
    const std::vector<Case> cases = {
        {"RGB32", screenLike(1921, 1083, QImage::Format_RGB32)},
        {"ARGB32", screenLike(640, 480, QImage::Format_ARGB32)},
        {"premultiplied", screenLike(99, 1, QImage::Format_ARGB32_Premultiplied)},
        {"palette", indexed},
        {"1-bit", mono},
        {"1-bit LSB", screenLike(13, 3000, QImage::Format_MonoLSB)},
        {"RGB888", screenLike(17, 400, QImage::Format_RGB888)},
        {"one pixel", screenLike(1, 1, QImage::Format_ARGB32)},
        {"noise", noise(300, 200)},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.image.isNull()) << c.name;
        // Packed whatever it saves, so that the round trip is tried on noise too.
        const auto packed = PackedImage::pack(c.image, 2.0 + 64.0 / double(c.image.sizeInBytes()));
        ASSERT_TRUE(packed) << c.name;
        expectSameBits(packed->unpack(), c.image, c.name);
        EXPECT_TRUE(packed->unpack() == c.image) << c.name;
        // Band by band from the bottom up, as a file is written: every row once.
        QImage banded(c.image.size(), c.image.format());
        banded.setColorTable(c.image.colorTable());
        const std::size_t rowBytes = (std::size_t(c.image.width()) * c.image.depth() + 7) / 8;
        int next = c.image.height();
        EXPECT_TRUE(packed->unpackBottomUp(
            [&](int y0, int rows, const uchar* bits, std::size_t stride) {
                if (rows < 1 || y0 + rows != next)
                    return false;
                next = y0;
                for (int r = 0; r < rows; ++r)
                    std::memcpy(banded.scanLine(y0 + r), bits + std::size_t(r) * stride, rowBytes);
                return true;
            }))
            << c.name;
        EXPECT_EQ(next, 0) << c.name;
        expectSameBits(banded, c.image, c.name);
    }
    // What a picture carries beside its pixels comes back too.
    QImage tagged = screenLike(50, 40, QImage::Format_RGB32);
    tagged.setColorSpace(QColorSpace::DisplayP3);
    tagged.setDotsPerMeterX(5905);
    tagged.setDotsPerMeterY(3937);
    tagged.setText(QStringLiteral("Comment"), QStringLiteral("from a file"));
    const QImage back = PackedImage::pack(tagged, 2.0)->unpack();
    EXPECT_EQ(back.colorSpace(), tagged.colorSpace());
    EXPECT_EQ(back.dotsPerMeterX(), 5905);
    EXPECT_EQ(back.dotsPerMeterY(), 3937);
    EXPECT_EQ(back.text(QStringLiteral("Comment")), QStringLiteral("from a file"));
}

TEST(PackedImage, ScreenshotsShrinkAndNoiseIsNotPacked) {
    const QImage screen = screenLike(1920, 1080, QImage::Format_RGB32);
    const auto packed = PackedImage::pack(screen, 0.875);
    ASSERT_TRUE(packed);
    EXPECT_LT(double(packed->packedBytes()), 0.15 * double(screen.sizeInBytes()));
    EXPECT_FALSE(PackedImage::pack(noise(1000, 800), 0.875));
}

TEST(Picture, CompactPictureKeepsItsPixelsAndThumbnail) {
    const QImage source = screenLike(800, 600, QImage::Format_ARGB32);
    const Picture picture = Picture::fromImage(source);
    const QImage thumb = picture.thumbnail(QSize(74, 58));
    EXPECT_FALSE(picture.isCompact());
    ASSERT_TRUE(picture.compact());
    EXPECT_TRUE(picture.isCompact());
    expectSameBits(picture.toImage(), source, "after packing");
    EXPECT_TRUE(picture.cachedThumbnail(QSize(74, 58)).constBits() == thumb.constBits())
        << "painting the gallery never decodes";
    EXPECT_FALSE(picture.claimThumbnail(QSize(74, 58))) << "a kept thumbnail is not made again";
    EXPECT_TRUE(picture.claimThumbnail(QSize(148, 116)));
    EXPECT_FALSE(picture.claimThumbnail(QSize(148, 116)));

    // Noise stays decoded: the very pixels it came with.
    const QImage random = noise(400, 300);
    const Picture noisy = Picture::fromImage(random);
    EXPECT_FALSE(noisy.compact());
    EXPECT_FALSE(noisy.isCompact());
    EXPECT_EQ(noisy.toImage().constBits(), random.constBits());
}

TEST(Picture, PackingWhileOthersUseOrDropThePicture) {
    // Readers on several threads while another packs: each sees the same pixels.
    const QImage source = screenLike(1200, 900, QImage::Format_RGB32);
    for (int round = 0; round < 4; ++round) {
        Picture picture = Picture::fromImage(source.copy());
        std::vector<std::thread> readers;
        std::vector<char> same(3, 0);
        for (int i = 0; i < 3; ++i)
            readers.emplace_back([&, i] { same[i] = picture.toImage() == source; });
        std::thread packer([picture] { picture.compact(); });
        for (std::thread& t : readers)
            t.join();
        packer.join();
        for (char s : same)
            EXPECT_TRUE(s);
        // Dropped while it is being packed: the last holder, the packer, frees it.
        const Picture::Weak weak(picture);
        std::thread late([held = picture] { held.compact(); });
        picture = Picture();
        late.join();
        EXPECT_TRUE(weak.lock().isNull());
    }
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(Picture, DecodeWithoutMemoryFailsAndChangesNothing) {
    // A picture far larger than what is left under the limit.
    const Picture picture = Picture::fromImage(screenLike(8000, 6000, QImage::Format_RGB32));
    ASSERT_TRUE(picture.compact());
    // 64 MiB to spare: far less than the 183 MiB decoded.
    AddressSpaceLimit limit(64 << 20);
    ASSERT_TRUE(limit.active());
    const QImage starved = picture.toImage();
    limit.lift();
    EXPECT_TRUE(starved.isNull());
    EXPECT_TRUE(picture.isCompact());
    EXPECT_EQ(picture.toImage().size(), QSize(8000, 6000));
}
#endif
