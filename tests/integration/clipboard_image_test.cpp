// What the decoding of clipboard offers accepts: the raster its type names, and nothing
// that only sniffing the bytes would recognise.
#include "platform/qt/clipboard/clipboard_image.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(ClipboardImage, SvgUnderARasterNameIsNotDecoded) {
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                           "<rect width='16' height='16' fill='red'/></svg>";
    // The lure works only where a decoder for it exists: then a missing guard would show.
    ASSERT_FALSE(QImage::fromData(svg, "svg").isNull()) << "no SVG decoder to lure";
    for (const QByteArray& type : clipboardImageTypes()) {
        SCOPED_TRACE(type.toStdString());
        QString reason;
        EXPECT_TRUE(decodeClipboardImage(type, svg, &reason).isNull());
        EXPECT_FALSE(reason.isEmpty());
    }
}

namespace {

/** A PNG signature and header chunk: the first 33 bytes of a PNG of that size. */
QByteArray pngHead(quint32 width, quint32 height) {
    const auto be32 = [](quint32 v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    const QByteArray body = "IHDR" + be32(width) + be32(height) + QByteArray("\x08\x02\0\0\0", 5);
    quint32 crc = 0xffffffffu;
    for (unsigned char c : body) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + be32(13) + body + be32(~crc);
}

} // namespace

TEST(ClipboardImage, OversizedPictureIsRefusedFromItsFirstBytes) {
    QString reason;
    EXPECT_FALSE(clipboardImageRefusedByHeader("image/png", pngHead(1920, 1080), &reason))
        << "within bounds";
    EXPECT_FALSE(clipboardImageRefusedByHeader("image/png", pngHead(70000, 10).left(20), &reason))
        << "an incomplete header says nothing yet";
    EXPECT_TRUE(clipboardImageRefusedByHeader("image/png", pngHead(70000, 10), &reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("70000"))) << reason.toStdString();
    EXPECT_FALSE(clipboardImageRefusedByHeader("image/gif", pngHead(70000, 10), &reason))
        << "read only as the type it is offered under";
}
