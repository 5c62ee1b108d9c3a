#include "pictures/jpeg_decoding.h"

#include <gtest/gtest.h>

namespace {

// A scan header as libjpeg reads it: one component, then its tables and the
// spectral selection; the bytes after it stand for entropy-coded data.
const QByteArray kSos = QByteArray::fromHex("ffda0008010100003f00") + "\x12\x34\xff\x00\x56";

QByteArray jpeg(const QByteArray& body) {
    return QByteArray::fromHex("ffd8") + body + QByteArray::fromHex("ffd9");
}

} // namespace

// Markers are walked as libjpeg walks them, so that no scan it decodes goes uncounted.
TEST(JpegScanCount, CountsEveryScanLibjpegReads) {
    // TEM and restart markers carry no length: the two bytes after them are the
    // next marker, not a length that would hide it.
    const QByteArray tem = QByteArray::fromHex("ff01");
    EXPECT_EQ(jpegScanCount(jpeg(kSos + tem + kSos + tem + kSos), 100), 3);
    EXPECT_EQ(jpegScanCount(jpeg(kSos + QByteArray::fromHex("ffd3") + kSos), 100), 2);
    // Fill bytes before a marker, and a segment of other data skipped by its length.
    const QByteArray comment = QByteArray::fromHex("fffe0006ffdaffda");
    EXPECT_EQ(jpegScanCount(jpeg(comment + QByteArray::fromHex("ffffff") + kSos), 100), 1);
    // Counting stops past the limit, and at EOI.
    EXPECT_EQ(jpegScanCount(jpeg(kSos.repeated(50)), 10), 11);
    EXPECT_EQ(jpegScanCount(jpeg(kSos) + kSos + kSos, 100), 1);
}

TEST(JpegScanCount, MarkersLibjpegRefusesMakeTheFileDamaged) {
    for (const char* hex : {"ff02", "ffc8", "ffde", "fff0", "ffd8", "ffe00001", "ffe00000"})
        EXPECT_EQ(jpegScanCount(jpeg(kSos + QByteArray::fromHex(hex) + kSos), 100), std::nullopt)
            << hex;
    EXPECT_EQ(jpegScanCount(QByteArray::fromHex("0000") + kSos, 100), std::nullopt) << "no SOI";
}

// The first decode of a JPEG is the largest thing loading makes: at the smallest scale
// that covers a thumbnail, a camera's photo takes 1/64 of its whole decode's memory.
TEST(JpegScale, FirstDecodeIsTheSmallestThatCoversAThumbnail) {
    EXPECT_EQ(jpegScaleCovering(QSize(6000, 4000), kJpegPreviewCover), 8);
    EXPECT_EQ(jpegScaleCovering(QSize(4000, 6000), kJpegPreviewCover), 8) << "a tall photo";
    EXPECT_EQ(jpegScaleCovering(QSize(1920, 1080), kJpegPreviewCover), 8);
    // A wide panorama is as tall as the thumbnail needs only at a larger scale.
    EXPECT_EQ(jpegScaleCovering(QSize(12000, 800), kJpegPreviewCover), 4);
    EXPECT_EQ(jpegScaleCovering(QSize(12000, 300), kJpegPreviewCover), 2);
    EXPECT_EQ(jpegScaleCovering(QSize(12000, 200), kJpegPreviewCover), 1);
    EXPECT_EQ(jpegScaleCovering(QSize(100, 5000), kJpegPreviewCover), 1) << "a thin strip";
}
