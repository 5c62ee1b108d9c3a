// Builds BMP files byte by byte, for the variants and damaged headers Qt's writer never makes.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <string>

namespace pictavo::test {

struct BmpHeader {
    std::int32_t width = 1;
    std::int32_t height = 1; // negative: rows stored top-down
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t infoSize = 40;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue; written for compression 3
    std::uint32_t dataSize = 0;
};

inline void put(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s.push_back(static_cast<char>(v >> (8 * i)));
}

inline std::string bmpHeader(const BmpHeader& h) {
    const std::uint32_t masksAfter = h.compression == 3 && h.infoSize == 40 ? 12 : 0;
    const std::uint32_t dataAt = 14 + h.infoSize + masksAfter;
    std::string s = "BM";
    put(s, dataAt + h.dataSize, 4);
    put(s, 0, 4);
    put(s, dataAt, 4);
    for (std::uint32_t v :
         {h.infoSize, static_cast<std::uint32_t>(h.width), static_cast<std::uint32_t>(h.height)})
        put(s, v, 4);
    put(s, 1, 2);
    put(s, h.bitCount, 2);
    for (std::uint32_t v : {h.compression, h.dataSize, 2835u, 2835u, 0u, 0u})
        put(s, v, 4);
    if (h.compression == 3 || h.infoSize > 40)
        for (std::uint32_t m : h.masks)
            put(s, m, 4);
    s.resize(dataAt, '\0');
    return s;
}

/** A whole BMP file of img at 16, 24 or 32 bits per pixel; masks of 16/32-bit pixels from h. */
inline std::string bmpFile(const QImage& img, BmpHeader h) {
    h.width = img.width();
    h.height = h.height < 0 ? -img.height() : img.height();
    const int stride = (img.width() * h.bitCount + 31) / 32 * 4;
    h.dataSize = static_cast<std::uint32_t>(stride * img.height());
    std::string s = bmpHeader(h);
    for (int row = 0; row < img.height(); ++row) {
        const int y = h.height < 0 ? row : img.height() - 1 - row;
        const std::size_t start = s.size();
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (h.bitCount == 24) {
                put(s, qBlue(c) | qGreen(c) << 8 | qRed(c) << 16, 3);
                continue;
            }
            // Uncompressed 16/32-bit pixels have a fixed layout; masks apply only to compression 3.
            const std::array<std::uint32_t, 3> fixed =
                h.bitCount == 16 ? std::array<std::uint32_t, 3>{0x7c00, 0x03e0, 0x001f}
                                 : std::array<std::uint32_t, 3>{0xff0000, 0x00ff00, 0x0000ff};
            const auto& masks = h.compression == 3 ? h.masks : fixed;
            std::uint32_t v = 0;
            const int channels[3] = {qRed(c), qGreen(c), qBlue(c)};
            for (int i = 0; i < 3; ++i) {
                const std::uint32_t m = masks[i];
                const int shift = __builtin_ctz(m);
                v |= static_cast<std::uint32_t>(channels[i] * (m >> shift) / 255) << shift;
            }
            put(s, v, h.bitCount / 8);
        }
        s.resize(start + stride, '\0');
    }
    return s;
}

} // namespace pictavo::test
