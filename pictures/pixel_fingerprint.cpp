#include "pictures/pixel_fingerprint.h"

#include <cstring>

namespace {

constexpr std::uint64_t kMul1 = 0x9e3779b97f4a7c15ull;
constexpr std::uint64_t kMul2 = 0xc2b2ae3d27d4eb4full;

std::uint64_t mix(std::uint64_t h, std::uint64_t word) {
    h ^= word * kMul2;
    h = (h << 31) | (h >> 33);
    return h * kMul1;
}

} // namespace

std::uint64_t pixelFingerprint(const QImage& image) {
    if (image.isNull())
        return 0;
    // Opaque and alpha 32-bit pixels read alike; anything else is brought to that form,
    // so that one picture hashes the same whichever way it was decoded.
    const bool direct = image.format() == QImage::Format_ARGB32 ||
                        image.format() == QImage::Format_RGB32;
    const QImage argb = direct ? image : image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        return 0;
    const int w = argb.width();
    std::uint64_t h = mix(0x243f6a8885a308d3ull, (std::uint64_t(w) << 32) | unsigned(argb.height()));
    const size_t rowBytes = size_t(w) * 4;
    for (int y = 0; y < argb.height(); ++y) {
        const uchar* row = argb.constScanLine(y);
        size_t i = 0;
        for (; i + 8 <= rowBytes; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, row + i, 8);
            h = mix(h, word);
        }
        if (i < rowBytes) {
            std::uint32_t last;
            std::memcpy(&last, row + i, 4);
            h = mix(h, last);
        }
    }
    // Avalanche, and keep 0 for "no picture".
    h ^= h >> 33;
    h *= kMul2;
    h ^= h >> 29;
    return h ? h : 1;
}
