#include "platform/qt/files/direct_bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <sys/uio.h>
#include <vector>

namespace {
constexpr std::uint32_t kHeadersSize = 14 + 40;

void put16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// BITMAPFILEHEADER and BITMAPINFOHEADER of a bottom-up 32-bit BI_RGB file: the plainest
// 32-bit layout, which every reader takes, the alpha byte unused.
std::array<unsigned char, kHeadersSize> headers(const QImage& image, std::uint32_t dataSize) {
    std::array<unsigned char, kHeadersSize> h{};
    h[0] = 'B';
    h[1] = 'M';
    put32(&h[2], kHeadersSize + dataSize);
    put32(&h[10], kHeadersSize);
    put32(&h[14], 40);
    put32(&h[18], static_cast<std::uint32_t>(image.width()));
    put32(&h[22], static_cast<std::uint32_t>(image.height()));
    put16(&h[26], 1);
    put16(&h[28], 32);
    put32(&h[34], dataSize);
    put32(&h[38], static_cast<std::uint32_t>(std::max(image.dotsPerMeterX(), 0)));
    put32(&h[42], static_cast<std::uint32_t>(std::max(image.dotsPerMeterY(), 0)));
    return h;
}

// Writes every byte the vectors name, going on after a short write.
bool writeAllVectors(int fd, std::vector<iovec>& vectors) {
    std::size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(vectors.size() - first, IOV_MAX));
        ssize_t n = ::writev(fd, &vectors[first], count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        for (; first < vectors.size() && std::size_t(n) >= vectors[first].iov_len; ++first)
            n -= static_cast<ssize_t>(vectors[first].iov_len);
        if (n > 0) {
            vectors[first].iov_base = static_cast<char*>(vectors[first].iov_base) + n;
            vectors[first].iov_len -= static_cast<std::size_t>(n);
        }
    }
    return true;
}
} // namespace

bool writesAsItIs(const QImage& image) {
    // QImage keeps the top byte of Format_RGB32 at 0xff; a file of many gigabytes
    // does not fit the header's 32-bit size.
    return std::endian::native == std::endian::little && image.format() == QImage::Format_RGB32 &&
           !image.isNull() &&
           std::uint64_t(image.width()) * 4 * std::uint64_t(image.height()) <
               UINT32_MAX - kHeadersSize;
}

bool writeDirectBmp(int fd, const QImage& image, QString* error) {
    const auto rowSize = static_cast<std::size_t>(image.width()) * 4;
    const auto dataSize = static_cast<std::uint32_t>(rowSize * std::size_t(image.height()));
    std::array<unsigned char, kHeadersSize> head = headers(image, dataSize);
    std::vector<iovec> vectors;
    vectors.reserve(std::size_t(image.height()) + 1);
    vectors.push_back({head.data(), head.size()});
    // The file holds the bottom row first.
    for (int y = image.height() - 1; y >= 0; --y)
        vectors.push_back({const_cast<uchar*>(image.constScanLine(y)), rowSize});
    if (writeAllVectors(fd, vectors))
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
