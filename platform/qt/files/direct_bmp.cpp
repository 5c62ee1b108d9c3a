#include "platform/qt/files/direct_bmp.h"

#include "pictures/packed_image.h"
#include "platform/qt/files/system_error.h"

#include <QCoreApplication>
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
std::array<unsigned char, kHeadersSize> headers(QSize size, int dpmX, int dpmY) {
    const auto dataSize =
        static_cast<std::uint32_t>(std::size_t(size.width()) * 4 * std::size_t(size.height()));
    std::array<unsigned char, kHeadersSize> h{};
    h[0] = 'B';
    h[1] = 'M';
    put32(&h[2], kHeadersSize + dataSize);
    put32(&h[10], kHeadersSize);
    put32(&h[14], 40);
    put32(&h[18], static_cast<std::uint32_t>(size.width()));
    put32(&h[22], static_cast<std::uint32_t>(size.height()));
    put16(&h[26], 1);
    put16(&h[28], 32);
    put32(&h[34], dataSize);
    put32(&h[38], static_cast<std::uint32_t>(std::max(dpmX, 0)));
    put32(&h[42], static_cast<std::uint32_t>(std::max(dpmY, 0)));
    return h;
}

bool fits(QSize size) {
    return std::endian::native == std::endian::little && !size.isEmpty() &&
           std::uint64_t(size.width()) * 4 * std::uint64_t(size.height()) <
               UINT32_MAX - kHeadersSize;
}

bool failed(QString* error) {
    if (error)
        *error = systemError();
    return false;
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
    return image.format() == QImage::Format_RGB32 && fits(image.size());
}

bool writeDirectBmp(int fd, const QImage& image, QString* error) {
    const auto rowSize = static_cast<std::size_t>(image.width()) * 4;
    std::array<unsigned char, kHeadersSize> head =
        headers(image.size(), image.dotsPerMeterX(), image.dotsPerMeterY());
    std::vector<iovec> vectors;
    vectors.reserve(std::size_t(image.height()) + 1);
    vectors.push_back({head.data(), head.size()});
    // The file holds the bottom row first.
    for (int y = image.height() - 1; y >= 0; --y)
        vectors.push_back({const_cast<uchar*>(image.constScanLine(y)), rowSize});
    return writeAllVectors(fd, vectors) || failed(error);
}

bool writesAsItIs(const PackedImage& packed) {
    return packed.format() == QImage::Format_RGB32 && fits(packed.size());
}

bool writeDirectBmp(int fd, const PackedImage& packed, QString* error) {
    std::array<unsigned char, kHeadersSize> head =
        headers(packed.size(), packed.dotsPerMeterX(), packed.dotsPerMeterY());
    std::vector<iovec> vectors{{head.data(), head.size()}};
    bool writeFailed = false;
    const bool done =
        packed.unpackBottomUp([&](int, int rows, const uchar* bits, std::size_t stride) {
            for (int r = rows - 1; r >= 0; --r)
                vectors.push_back({const_cast<uchar*>(bits) + std::size_t(r) * stride,
                                   std::size_t(packed.size().width()) * 4});
            writeFailed = !writeAllVectors(fd, vectors);
            vectors.clear();
            return !writeFailed;
        });
    if (writeFailed)
        return failed(error);
    if (!done && error)
        *error = QCoreApplication::translate("Pictures",
                                             "there is not enough memory to decode the picture");
    return done;
}
