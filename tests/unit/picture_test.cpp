#include "pictures/picture.h"

#include <QPainter>
#include <gtest/gtest.h>

TEST(Picture, ThumbnailOfTwoColourPictureIsNotDithered) {
    // Left half black, right half white, as a 1-bit image: each half of the
    // thumbnail must keep its colour rather than become a checker pattern.
    QImage mono(400, 300, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    for (int y = 0; y < 300; ++y)
        for (int x = 200; x < 400; ++x)
            mono.setPixel(x, y, 1);
    const Picture picture = Picture::fromImage(mono);
    const QImage thumb = picture.thumbnail(QSize(74, 58));
    ASSERT_EQ(thumb.size(), QSize(74, 58));
    for (int y = 5; y < 53; y += 6) {
        EXPECT_EQ(qGray(thumb.pixel(10, y)), 0) << "row " << y;
        EXPECT_EQ(qGray(thumb.pixel(64, y)), 255) << "row " << y;
    }
    EXPECT_TRUE(picture.thumbnail(QSize(74, 58)).constBits() == thumb.constBits())
        << "the scaled copy is kept, not made again";
}

TEST(Picture, EmptyAndVectorPicturesReportTheirSize) {
    EXPECT_TRUE(Picture().isEmpty());
    EXPECT_TRUE(Picture::fromImage(QImage()).isNull());
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                           "<rect x='0' y='0' width='40' height='20' fill='#ff0000'/></svg>";
    const Picture vector = Picture::fromSvg(svg, QSize(40, 20));
    EXPECT_TRUE(vector.isVector());
    EXPECT_EQ(vector.width(), 40);
    EXPECT_EQ(vector.height(), 20);
    const QImage raster = vector.toImage();
    ASSERT_EQ(raster.size(), QSize(40, 20));
    EXPECT_EQ(raster.pixel(20, 10), qRgb(255, 0, 0));
}

TEST(Picture, MetafileClipPathsAreHonoured) {
    // Metafiles clip routinely; the drawing of a clipped shape must stay inside its clip.
    const QByteArray svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50' viewBox='0 0 100 50'>"
        "<defs><clipPath id='left'><rect x='0' y='0' width='50' height='50'/></clipPath></defs>"
        "<rect x='0' y='0' width='100' height='50' fill='#ff0000' clip-path='url(#left)'/></svg>";
    const Picture vector = Picture::fromSvg(svg, QSize(100, 50));
    const QImage raster = vector.toImage();
    ASSERT_EQ(raster.size(), QSize(100, 50));
    EXPECT_EQ(raster.pixel(25, 25), qRgb(255, 0, 0));
    EXPECT_EQ(raster.pixel(75, 25), qRgb(255, 255, 255)) << "drawn outside its clip";

    // Stretched, as in a thumbnail box of another shape: both halves keep their place.
    const QImage thumb = vector.thumbnail(QSize(74, 58));
    EXPECT_EQ(qRed(thumb.pixel(10, 29)), 255);
    EXPECT_EQ(thumb.pixel(64, 29), qRgb(255, 255, 255));
}
