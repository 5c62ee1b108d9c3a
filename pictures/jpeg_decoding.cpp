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

// The size in the header, read with handle; none for CMYK, which TurboJPEG cannot show.
std::optional<QSize> headerSize(tjhandle handle, const QByteArray& bytes) {
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (!handle ||
        tjDecompressHeader3(handle, dataOf(bytes), static_cast<unsigned long>(bytes.size()), &width,
                            &height, &subsampling, &colorspace) != 0)
        return std::nullopt;
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK || width <= 0 || height <= 0)
        return std::nullopt;
    return QSize(width, height);
}
} // namespace

std::optional<int> jpegScanCount(const QByteArray& bytes, int limit) {
    const auto* p = dataOf(bytes);
    const qsizetype n = bytes.size();
    if (n < 2 || p[0] != 0xFF || p[1] != 0xD8)
        return std::nullopt;
    int scans = 0;
    qsizetype i = 2; // past SOI
    // Markers are found as libjpeg finds them: bytes up to the next FF are
    // skipped (entropy-coded data, or garbage it only warns about), then fill
    // bytes FF, then the marker's code.
    while (scans <= limit) {
        const void* at = std::memchr(p + i, 0xFF, std::size_t(n - i));
        if (!at)
            break;
        i = static_cast<const unsigned char*>(at) - p;
        while (i < n && p[i] == 0xFF)
            ++i;
        if (i >= n)
            break;
        const unsigned char marker = p[i++];
        // A stuffed zero in entropy-coded data; restart markers and TEM carry no length.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (marker == 0xD9) // EOI: libjpeg reads no further
            break;
        // The markers with a length: SOFn, DHT, DAC, SOS, DQT, DNL, DRI, APPn, COM.
        // Any other one (a second SOI among them) makes libjpeg give up on the file.
        const bool withLength = (marker >= 0xC0 && marker <= 0xCF && marker != 0xC8) ||
                                (marker >= 0xDA && marker <= 0xDD) ||
                                (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
        if (!withLength)
            return std::nullopt;
        if (i + 1 >= n)
            break;
        const qsizetype length = (qsizetype(p[i]) << 8) | p[i + 1];
        if (length < 2)
            return std::nullopt;
        if (marker == 0xDA)
            ++scans;
        // Past the segment; after SOS, its entropy-coded data follow.
        i += length;
        if (i >= n)
            break;
    }
    return scans;
}

std::optional<QSize> turboJpegSize(const QByteArray& bytes) {
    return headerSize(decompressor().get(), bytes);
}

QString cmykJpegDamage(const QByteArray& bytes) {
    const Handle handle = decompressor();
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (!handle ||
        tjDecompressHeader3(handle.get(), dataOf(bytes), static_cast<unsigned long>(bytes.size()),
                            &width, &height, &subsampling, &colorspace) != 0 ||
        (colorspace != TJCS_CMYK && colorspace != TJCS_YCCK))
        return {};
    const tjscalingfactor eighth{1, 8};
    const int w = TJSCALED(width, eighth), h = TJSCALED(height, eighth);
    QByteArray pixels(qsizetype(w) * h * tjPixelSize[TJPF_CMYK], Qt::Uninitialized);
    if (pixels.isEmpty() ||
        tjDecompress2(handle.get(), dataOf(bytes), static_cast<unsigned long>(bytes.size()),
                      reinterpret_cast<unsigned char*>(pixels.data()), w, 0, h, TJPF_CMYK,
                      kFlags) == 0)
        return {};
    const QString reason = QString::fromLocal8Bit(tjGetErrorStr2(handle.get()));
    return reason.contains(QLatin1String("memory"), Qt::CaseInsensitive) ? QString() : reason;
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
    // One handle reads the header and decodes: each handle costs an allocation and
    // a header read, which add up over a folder of small pictures.
    const Handle handle = decompressor();
    const std::optional<QSize> full = headerSize(handle.get(), bytes);
    if (!full)
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
