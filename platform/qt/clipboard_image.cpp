#include "platform/qt/clipboard_image.h"

#include <QBuffer>
#include <QImageReader>

const std::vector<QByteArray>& clipboardImageTypes() {
    static const std::vector<QByteArray> types = {
        "image/png",  "image/bmp", "image/x-bmp", "image/x-MS-bmp", "image/tiff",
        "image/x-portable-pixmap", "image/webp", "image/jpeg", "image/gif"};
    return types;
}

QImage decodeClipboardImage(const QByteArray& mimeType, const QByteArray& data, QString* reason) {
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = mimeType.mid(mimeType.lastIndexOf('/') + 1);
    QImageReader reader(&buffer, format.startsWith("x-") ? QByteArray() : format);
    const QImage image = reader.read();
    if (image.isNull() && reason)
        *reason = reader.errorString();
    return image;
}
