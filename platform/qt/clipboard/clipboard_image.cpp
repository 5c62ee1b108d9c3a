#include "platform/qt/clipboard/clipboard_image.h"

#include "pictures/picture_bounds.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <climits>

namespace {

struct ImageType {
    QByteArray mimeType;
    QByteArray decoder; // Qt's image format name
};

const std::vector<ImageType>& imageTypes() {
    // Fastest exact type first, as measured with the toolkits (bench/clipboard_types.sh):
    // Qt writes PPM and BMP, GTK BMP, several times faster than PNG, whose compression
    // makes the owner work for seconds on a large screen; GTK 4 and Java write TIFF
    // faster than PNG. The lossy ones come last.
    static const std::vector<ImageType> types{
        {"image/ppm", "ppm"},      {"image/x-portable-pixmap", "ppm"},
        {"image/bmp", "bmp"},      {"image/x-bmp", "bmp"},
        {"image/x-MS-bmp", "bmp"}, {"image/tiff", "tiff"},
        {"image/png", "png"},      {"image/webp", "webp"},
        {"image/jpeg", "jpeg"},    {"image/gif", "gif"},
    };
    return types;
}

QByteArray decoderFor(const QByteArray& mimeType) {
    for (const ImageType& t : imageTypes()) {
        if (t.mimeType.compare(mimeType, Qt::CaseInsensitive) == 0)
            return t.decoder;
    }
    return {};
}

QString oversized(QSize size) {
    return QStringLiteral("the picture is %1 x %2 pixels; at most %3 pixels a side are taken")
        .arg(size.width())
        .arg(size.height())
        .arg(kMaxPictureSide);
}

QSize sizeFromHeader(const QByteArray& decoder, const QByteArray& head) {
    QByteArray bytes = head;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, decoder);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    return reader.size();
}

} // namespace

const std::vector<QByteArray>& clipboardImageTypes() {
    static const std::vector<QByteArray> names = [] {
        // A type without a decoder here (TIFF and WebP come in an optional package) would
        // be chosen only to fail: the owner's next type is taken instead.
        const QList<QByteArray> decoders = QImageReader::supportedImageFormats();
        std::vector<QByteArray> out;
        for (const ImageType& t : imageTypes()) {
            if (decoders.contains(t.decoder))
                out.push_back(t.mimeType);
        }
        return out;
    }();
    return names;
}

QImage decodeClipboardImage(const QByteArray& mimeType, const QByteArray& data, QString* reason) {
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return QImage();
    };
    const QByteArray decoder = decoderFor(mimeType);
    if (decoder.isEmpty())
        return fail(QStringLiteral("%1 is not a bitmap format").arg(QString::fromLatin1(mimeType)));

    QByteArray bytes = data; // shared, not copied; QBuffer needs a non-const array
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, decoder);
    // Content sniffing would let an SVG or another vector format in under a raster name.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead())
        return fail(QStringLiteral("the data offered as %1 is not a %2 picture")
                        .arg(QString::fromLatin1(mimeType), QString::fromLatin1(decoder).toUpper()));
    const QSize size = reader.size();
    if (size.isValid() && !isWithinPictureBounds(size.width(), size.height()))
        return fail(oversized(size));
    // The allocation limit also refuses an oversized picture before it is decoded.
    QImage image = reader.read();
    if (image.isNull())
        return fail(reader.errorString());
    return image;
}

bool clipboardImageRefusedByHeader(const QByteArray& mimeType, const QByteArray& head,
                                   QString* reason) {
    const QByteArray decoder = decoderFor(mimeType);
    if (decoder.isEmpty())
        return false;
    QSize size;
    if (decoder == "png") {
        // The size sits at a fixed place; a reader would want the chunks up to the data.
        if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
            return false;
        const auto be32 = [&](int at) {
            const auto* p = reinterpret_cast<const unsigned char*>(head.constData()) + at;
            return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
        };
        size = QSize(int(std::min<quint32>(be32(16), INT_MAX)),
                     int(std::min<quint32>(be32(20), INT_MAX)));
    } else {
        size = sizeFromHeader(decoder, head);
    }
    if (!size.isValid() || isWithinPictureBounds(size.width(), size.height()))
        return false;
    if (reason)
        *reason = oversized(size);
    return true;
}
