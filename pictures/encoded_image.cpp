#include "pictures/encoded_image.h"

#include "pictures/jpeg_decoding.h"

#include <QBuffer>
#include <QImageReader>

QImage EncodedImage::decode() const {
    return decodeCovering(m_size);
}

QImage EncodedImage::decodeCovering(QSize cover) const {
    if (m_decoder == Decoder::TurboJpeg)
        return decodeJpeg(m_bytes, jpegScaleCovering(m_size, cover), nullptr);
    QBuffer buffer;
    buffer.setData(m_bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, m_format);
    return reader.read();
}
