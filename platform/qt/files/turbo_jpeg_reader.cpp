#include "platform/qt/files/turbo_jpeg_reader.h"

#include <QIODevice>
#include <QString>
#include <memory>
#include <turbojpeg.h>

namespace {
// Above this the whole file is not read into memory; Qt's reader streams it.
constexpr qint64 kMaxInMemory = qint64(256) * 1024 * 1024;

// QImage::Format_RGB32 is 0xffRRGGBB in native order.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
} // namespace

std::optional<QImage> decodeJpeg(QIODevice& file, qint64 maxPixels, QString* damage) {
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxInMemory || !file.seek(0))
        return std::nullopt;
    QByteArray data = file.read(size);
    if (data.size() != size)
        return std::nullopt;
    const std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitDecompress(), tjDestroy);
    if (!handle)
        return std::nullopt;
    auto* bytes = reinterpret_cast<unsigned char*>(data.data());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), bytes, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colorspace) != 0)
        return std::nullopt;
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK || width <= 0 || height <= 0 ||
        qint64(width) * height > maxPixels)
        return std::nullopt;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    if (tjDecompress2(handle.get(), bytes, static_cast<unsigned long>(size), image.bits(), width,
                      static_cast<int>(image.bytesPerLine()), height, kPixelFormat, 0) != 0) {
        // A warning too: the picture would show rows that are not in the file.
        if (damage)
            *damage = QString::fromLocal8Bit(tjGetErrorStr2(handle.get()));
        return std::nullopt;
    }
    return image;
}
