#include "pictures/jpeg_decoding.h"

#include <cstring>
#include <memory>
#include <turbojpeg.h>

namespace {
// QImage::Format_RGB32 is 0xffRRGGBB in native order.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
// A warning stops the decode at once: a damaged file is refused either way, and
// one with a warning in every block would otherwise be decoded to its end. The
// library's own scan limit backs up the count made before decoding.
constexpr int kFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

using Handle = std::unique_ptr<void, int (*)(tjhandle)>;

Handle decompressor() {
    return Handle(tjInitDecompress(), tjDestroy);
}

auto* dataOf(const QByteArray& bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}
} // namespace

int jpegScanCount(const QByteArray& bytes, int limit) {
    const auto* p = dataOf(bytes);
    const qsizetype n = bytes.size();
    int scans = 0;
    qsizetype i = 2; // past SOI
    while (i + 1 < n && scans <= limit) {
        if (p[i] != 0xFF) {
            const void* next = std::memchr(p + i, 0xFF, std::size_t(n - i));
            if (!next)
                break;
            i = static_cast<const unsigned char*>(next) - p;
            continue;
        }
        const unsigned char marker = p[i + 1];
        // Fill bytes, stuffed zeros and restart markers carry no length.
        if (marker == 0xFF || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7)) {
            ++i;
            continue;
        }
        if (marker == 0xD9) // EOI
            break;
        if (i + 3 >= n)
            break;
        if (marker == 0xDA)
            ++scans;
        // The segment's length, then (after SOS) entropy-coded data, which the
        // loop walks through byte by byte to the next marker.
        i += 2 + ((qsizetype(p[i + 2]) << 8) | p[i + 3]);
    }
    return scans;
}

std::optional<QSize> turboJpegSize(const QByteArray& bytes) {
    const Handle handle = decompressor();
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (!handle ||
        tjDecompressHeader3(handle.get(), dataOf(bytes), static_cast<unsigned long>(bytes.size()),
                            &width, &height, &subsampling, &colorspace) != 0)
        return std::nullopt;
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK || width <= 0 || height <= 0)
        return std::nullopt;
    return QSize(width, height);
}

int jpegScaleCovering(QSize full, QSize cover) {
    for (int denominator : {8, 4, 2}) {
        const tjscalingfactor factor{1, denominator};
        if (TJSCALED(full.width(), factor) >= cover.width() &&
            TJSCALED(full.height(), factor) >= cover.height())
            return denominator;
    }
    return 1;
}

QImage decodeJpeg(const QByteArray& bytes, int denominator, QString* damage) {
    const std::optional<QSize> full = turboJpegSize(bytes);
    const Handle handle = decompressor();
    if (!full || !handle)
        return {};
    const tjscalingfactor factor{1, denominator};
    QImage image(TJSCALED(full->width(), factor), TJSCALED(full->height(), factor),
                 QImage::Format_RGB32);
    if (image.isNull())
        return {};
    if (tjDecompress2(handle.get(), dataOf(bytes), static_cast<unsigned long>(bytes.size()),
                      image.bits(), image.width(), static_cast<int>(image.bytesPerLine()),
                      image.height(), kPixelFormat, kFlags) != 0) {
        // Out of memory is the one failure that is not the file's.
        const QString reason = QString::fromLocal8Bit(tjGetErrorStr2(handle.get()));
        if (damage && !reason.contains(QLatin1String("memory"), Qt::CaseInsensitive))
            *damage = reason;
        return {};
    }
    return image;
}
