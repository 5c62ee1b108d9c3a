// Valid EMF and WMF files, written by the project's own writer, through the helper: the
// natural size, and the shapes at their places when QtSvg renders the reply.
#include "metafile_test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace metafile_test;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);
const QColor kWhite(255, 255, 255);

class MetafileLoading : public ::testing::Test {
protected:
    std::optional<MetafileDrawing> load(const QString& name, const Bytes& bytes) {
        QString error;
        auto drawing = loadThroughHelper(writeInto(m_dir, name, bytes), &error);
        EXPECT_TRUE(drawing.has_value()) << name.toStdString() << ": " << error.toStdString();
        return drawing;
    }

    QTemporaryDir m_dir;
};

bool greenNear(const QImage& image, int x, int y) {
    return countColor(image, QRect(x - 2, y - 2, 5, 5), kGreen, 60) > 0;
}

TEST_F(MetafileLoading, SampleFilesGiveTheirFrameAndShapes) {
    const std::vector<std::pair<QString, Bytes>> files{{"sample.emf", sampleEmf()},
                                                       {"sample.wmf", sampleWmf(true)},
                                                       {"standard.wmf", sampleWmf(false)}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const auto drawing = load(name, bytes);
        ASSERT_TRUE(drawing);
        EXPECT_EQ(drawing->frame, QSize(192, 144));
        const QImage image = renderAtFrameSize(*drawing);
        EXPECT_TRUE(isColor(image, 50, 40, kRed));
        EXPECT_TRUE(isColor(image, 135, 80, kBlue));
        // The corner of the ellipse's box lies outside the ellipse.
        EXPECT_TRUE(isColor(image, 103, 43, kWhite));
        EXPECT_TRUE(isColor(image, 3, 3, kWhite));
        EXPECT_TRUE(isColor(image, 188, 140, kWhite));
        EXPECT_TRUE(greenNear(image, 50, 105));
        EXPECT_TRUE(greenNear(image, 135, 105));
    }
}

// The files' headers bound only the drawn area; the picture is the whole frame.
TEST_F(MetafileLoading, SmallDrawingKeepsItsPlaceInTheFrame) {
    const std::vector<std::pair<QString, Bytes>> files{{"small.emf", smallEmf()},
                                                       {"small.wmf", smallWmf(true)},
                                                       {"small-standard.wmf", smallWmf(false)}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const auto drawing = load(name, bytes);
        ASSERT_TRUE(drawing);
        EXPECT_EQ(drawing->frame, QSize(192, 144));
        const QImage image = renderAtFrameSize(*drawing);
        EXPECT_TRUE(isColor(image, 96, 72, kRed));
        EXPECT_TRUE(isColor(image, 82, 62, kRed));
        EXPECT_TRUE(isColor(image, 110, 82, kRed));
        EXPECT_TRUE(isTransparent(image, 76, 56));
        EXPECT_TRUE(isTransparent(image, 116, 88));
        EXPECT_TRUE(isTransparent(image, 20, 20));
    }
}

// A frame that does not start at the device's origin, also one across it: what lies at its
// corner is the picture's corner, on every version of the EMF library.
TEST_F(MetafileLoading, FrameAwayFromTheOriginStartsThePicture) {
    EmfWriter emf(192, 144);
    emf.select(emf.createBrush({255, 0, 0}));
    emf.rectangle(100, 80, 140, 110);
    Bytes bytes = emf.finish();
    // 48 and 24 pixels in, as large as before: 1270 and 635 hundredths of a millimetre.
    putU32(bytes, emf_offset::kFrame, 1270);
    putU32(bytes, emf_offset::kFrame + 4, 635);
    putU32(bytes, emf_offset::kFrame + 8, 1270 + 5080);
    putU32(bytes, emf_offset::kFrame + 12, 635 + 3810);
    const auto drawing = load("moved.emf", bytes);
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->frame, QSize(192, 144));
    const QImage image = renderAtFrameSize(*drawing);
    EXPECT_TRUE(isColor(image, 72, 71, kRed));
    EXPECT_TRUE(isTransparent(image, 46, 50));
    EXPECT_TRUE(isTransparent(image, 105, 85));

    // From 24 pixels above the origin: the rectangle 80 pixels down the device is 104 down here.
    putU32(bytes, emf_offset::kFrame + 4, std::uint32_t(-635));
    putU32(bytes, emf_offset::kFrame + 12, 3175);
    const auto across = load("across.emf", bytes);
    ASSERT_TRUE(across);
    EXPECT_EQ(across->frame, QSize(192, 144));
    const QImage lower = renderAtFrameSize(*across);
    EXPECT_TRUE(isColor(lower, 72, 119, kRed));
    EXPECT_TRUE(isTransparent(lower, 72, 95));
    EXPECT_TRUE(isTransparent(lower, 105, 85));
}

// The frame, in hundredths of a millimetre, becomes the nearest whole number of pixels at
// 96 dpi; 16384 pixels a side is the most the program rasterises.
TEST_F(MetafileLoading, FrameRoundsToTheNearestPixelUpTo16384) {
    const auto emfWide = [](std::uint32_t himetric) {
        Bytes b = sampleEmf();
        putU32(b, emf_offset::kFrame + 8, himetric); // the frame's right edge; its left is 0
        return b;
    };
    // 100.3, 100.7 and 16383.99 pixels.
    for (const auto& [himetric, pixels] :
         {std::pair{2654u, 100}, std::pair{2664u, 101}, std::pair{433493u, 16384}}) {
        const auto drawing = load(QStringLiteral("wide%1.emf").arg(himetric), emfWide(himetric));
        ASSERT_TRUE(drawing);
        EXPECT_EQ(drawing->frame.width(), pixels) << himetric;
    }
    QString error; // 16385.01 pixels
    EXPECT_FALSE(loadThroughHelper(writeInto(m_dir, "16385.emf", emfWide(433520)), &error));
    EXPECT_TRUE(error.contains("size")) << error.toStdString();
}

TEST_F(MetafileLoading, FrameFollowsUnitsAndDeviceResolution) {
    // A WMF in 1/576 inch, 300 x 200 pixels.
    WmfWriter wmf(300, 200, 576);
    wmf.select(wmf.createBrush({255, 0, 0}));
    wmf.rectangle(100, 50, 200, 150);
    auto drawing = load("inch576.wmf", wmf.finish());
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->frame, QSize(300, 200));
    QImage image = renderAtFrameSize(*drawing);
    EXPECT_TRUE(isColor(image, 150, 100, kRed));
    EXPECT_TRUE(isTransparent(image, 50, 40));
    EXPECT_TRUE(isTransparent(image, 250, 170));

    // An EMF recorded on a 192 dpi device: device pixels are half the picture's pixels.
    EmfWriter emf(192, 144, 192);
    emf.select(emf.createBrush({255, 0, 0}));
    emf.rectangle(40, 40, 160, 120);
    drawing = load("192dpi.emf", emf.finish());
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->frame, QSize(192, 144));
    image = renderAtFrameSize(*drawing);
    EXPECT_TRUE(isColor(image, 50, 40, kRed));
    EXPECT_TRUE(isTransparent(image, 100, 80));
}

// Text with XML's special characters must neither break the SVG nor vanish.
TEST_F(MetafileLoading, TextIsKeptAndDrawn) {
    const std::vector<std::pair<QString, Bytes>> files{{"text.emf", textEmf()},
                                                       {"text.wmf", textWmf()}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const auto drawing = load(name, bytes);
        ASSERT_TRUE(drawing);
        const QImage image = renderAtFrameSize(*drawing);
        // Glyphs of 20 pixels between x 20 and about 110, above the baseline at y 60.
        EXPECT_GT(countColor(image, QRect(18, 42, 100, 20), kBlue), 40);
        EXPECT_EQ(countColor(image, QRect(0, 0, 192, 38), kBlue), 0);
        EXPECT_EQ(countColor(image, QRect(0, 64, 192, 80), kBlue), 0);
    }
}

TEST_F(MetafileLoading, BitmapsComeThrough) {
    const auto drawing = load("bitmap.emf", bitmapEmf());
    ASSERT_TRUE(drawing);
    const QImage image = renderAtFrameSize(*drawing);
    EXPECT_TRUE(isColor(image, 60, 45, kRed));
    EXPECT_TRUE(isColor(image, 100, 45, kGreen));
    EXPECT_TRUE(isColor(image, 60, 75, kBlue));
    EXPECT_TRUE(isColor(image, 100, 75, kWhite));
    EXPECT_TRUE(isTransparent(image, 30, 20));
    EXPECT_TRUE(isTransparent(image, 130, 100));
}

TEST(MetafileSniffing, RecognisesMetafilesByContentOnly) {
    const auto head = [](const Bytes& b) {
        return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    };
    EXPECT_TRUE(looksLikeMetafile(head(sampleEmf())));
    EXPECT_TRUE(looksLikeMetafile(head(sampleWmf(true)).left(4)));
    EXPECT_TRUE(looksLikeMetafile(head(sampleWmf(false))));

    Bytes notEmf = sampleEmf();
    putU32(notEmf, emf_offset::kSignature, 0x20202020);
    EXPECT_FALSE(looksLikeMetafile(head(notEmf)));
    EXPECT_FALSE(looksLikeMetafile(head(sampleEmf()).left(43)));
    EXPECT_FALSE(looksLikeMetafile(head(sampleWmf(false)).left(5)));
    EXPECT_FALSE(looksLikeMetafile(QByteArray()));
    EXPECT_FALSE(looksLikeMetafile(QByteArray("BM\x36\x00\x0c\x00\x00\x00\x00\x00", 10)));
    EXPECT_FALSE(looksLikeMetafile(QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10)));
    EXPECT_FALSE(looksLikeMetafile(QByteArray("GIF89a\x10\x00\x10\x00", 10)));
}

} // namespace
