// A picture held as the bytes of the file it came from: a JPEG or GIF is a
// compact, exact form of its picture, and decoding it again gives the same pixels.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

class EncodedImage final {
public:
    enum class Decoder {
        TurboJpeg, // with scaled decoding
        Qt,        // Qt's reader for format
    };
    EncodedImage(QByteArray bytes, QByteArray format, QSize size, Decoder decoder)
        : m_bytes(std::move(bytes)), m_format(std::move(format)), m_size(size), m_decoder(decoder) {
    }

    /** The whole picture, the same pixels at every call; null when memory runs short. */
    QImage decode() const;
    /** A decode at least cover on both sides where the decoder can scale, else
        the whole picture; null when memory runs short. */
    QImage decodeCovering(QSize cover) const;

    QSize size() const { return m_size; }
    qsizetype byteCount() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
    QByteArray m_format;
    QSize m_size;
    Decoder m_decoder;
};
