#include "converter/bmp_reader.h"

#include "converter/unique_fd.h"
#include "pictures/picture_bounds.h"

#include <turbojpeg.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>

namespace pictavo::jpeg {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kInfoHeaderSize = 40;
// Largest header read at once: file header, V5 info header, and the masks that may follow a
// plain info header.
constexpr std::uint64_t kMaxHeadSize = kFileHeaderSize + 124 + 12;
constexpr std::uint64_t kMasksAt = kFileHeaderSize + kInfoHeaderSize;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool readWhole(int fd, unsigned char* buffer, std::uint64_t size) {
    std::uint64_t offset = 0;
    while (offset < size) {
        const ssize_t n = ::pread(fd, buffer + offset, size - offset, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0),
          m_max(mask ? mask >> m_shift : 1) {}
    // A mask with holes has no sensible meaning.
    bool valid() const { return (m_max & (m_max + 1)) == 0; }
    unsigned char operator()(std::uint32_t pixel) const {
        const std::uint64_t v = (pixel & m_mask) >> m_shift;
        return static_cast<unsigned char>((v * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask;
    int m_shift;
    std::uint64_t m_max;
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t masks[3] = {}; // red, green, blue
    std::uint64_t paletteAt = 0;
    std::uint32_t paletteSize = 0;
    std::uint64_t stride = 0;
    std::uint64_t dataAt = 0;
};

BmpStatus parseHeader(const unsigned char* file, std::uint64_t fileSize, Layout& l) {
    std::array<unsigned char, kMaxHeadSize> h{};
    const std::uint64_t headSize = std::min<std::uint64_t>(fileSize, h.size());
    if (fileSize < kFileHeaderSize + kInfoHeaderSize)
        return BmpStatus::Unsupported;
    std::memcpy(h.data(), file, headSize);
    if (h[0] != 'B' || h[1] != 'M')
        return BmpStatus::Unsupported;
    const std::uint32_t claimedFileSize = u32(&h[2]);
    const std::uint32_t infoSize = u32(&h[14]);
    // 40: BITMAPINFOHEADER (what Qt writes); 52, 56: with masks; 108: V4; 124: V5.
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return BmpStatus::Unsupported;
    const auto width = static_cast<std::int32_t>(u32(&h[18]));
    const auto height = static_cast<std::int32_t>(u32(&h[22]));
    const std::uint16_t planes = u16(&h[26]);
    l.bitCount = u16(&h[28]);
    const std::uint32_t compression = u32(&h[30]);
    const std::uint32_t colorsUsed = u32(&h[46]);

    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    // The bounds the program loads pictures within: whatever it loads, it can save.
    if (!isWithinPictureBounds(width, rows) || planes != 1)
        return BmpStatus::Unsupported;
    l.width = width;
    l.height = static_cast<int>(rows);
    l.topDown = height < 0;

    std::uint64_t tableAt = kFileHeaderSize + infoSize;
    switch (l.bitCount) {
    case 1:
    case 4:
    case 8:
        if (compression != kBiRgb)
            return BmpStatus::Unsupported;
        l.paletteSize = colorsUsed ? colorsUsed : 1u << l.bitCount;
        if (l.paletteSize > 1u << l.bitCount)
            return BmpStatus::Unsupported;
        break;
    case 16:
    case 32:
        if (compression == kBiBitfields) {
            if (headSize < kMasksAt + 12)
                return BmpStatus::Unsupported;
            for (int i = 0; i < 3; ++i)
                l.masks[i] = u32(&h[kMasksAt + 4 * i]);
            if (infoSize == kInfoHeaderSize)
                tableAt += 12;
        } else if (compression == kBiRgb) {
            l.masks[0] = l.bitCount == 16 ? 0x7c00 : 0xff0000;
            l.masks[1] = l.bitCount == 16 ? 0x03e0 : 0x00ff00;
            l.masks[2] = l.bitCount == 16 ? 0x001f : 0x0000ff;
        } else {
            return BmpStatus::Unsupported;
        }
        break;
    case 24:
        if (compression != kBiRgb)
            return BmpStatus::Unsupported;
        break;
    default:
        return BmpStatus::Unsupported;
    }

    l.paletteAt = tableAt;
    l.stride = (static_cast<std::uint64_t>(l.width) * l.bitCount + 31) / 32 * 4;
    l.dataAt = u32(&h[10]);
    const std::uint64_t dataEnd = l.dataAt + l.stride * static_cast<std::uint64_t>(l.height);
    // A file shorter than its header says is cut off; never encode a partial picture.
    if (l.dataAt < tableAt + 4ull * l.paletteSize || dataEnd > fileSize ||
        claimedFileSize > fileSize)
        return BmpStatus::Unsupported;
    return BmpStatus::Ok;
}

void expandPalette(const unsigned char* file, const Layout& l, unsigned char* out) {
    // Indices past the palette read as black rather than outside the table.
    std::array<std::array<unsigned char, 3>, 256> colours{};
    const unsigned char* table = file + l.paletteAt;
    const unsigned char* raw = file + l.dataAt;
    for (std::uint32_t i = 0; i < l.paletteSize; ++i)
        colours[i] = {table[4 * i], table[4 * i + 1], table[4 * i + 2]};

    const unsigned indexMask = (1u << l.bitCount) - 1;
    for (int y = 0; y < l.height; ++y) {
        const unsigned char* src = raw + y * l.stride;
        unsigned char* dst = out + static_cast<std::size_t>(y) * l.width * 3;
        for (int x = 0; x < l.width; ++x) {
            const unsigned bit = static_cast<unsigned>(x) * l.bitCount;
            const unsigned shift = 8 - l.bitCount - (bit & 7);
            const auto& c = colours[(src[bit >> 3] >> shift) & indexMask];
            *dst++ = c[0];
            *dst++ = c[1];
            *dst++ = c[2];
        }
    }
}

BmpStatus expandMasked(const Layout& l, const unsigned char* raw, unsigned char* out) {
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
    if (!red.valid() || !green.valid() || !blue.valid())
        return BmpStatus::Unsupported;
    const int bytes = l.bitCount / 8;
    for (int y = 0; y < l.height; ++y) {
        const unsigned char* src = raw + y * l.stride;
        unsigned char* dst = out + static_cast<std::size_t>(y) * l.width * 3;
        for (int x = 0; x < l.width; ++x, src += bytes) {
            const std::uint32_t pixel = bytes == 2 ? u16(src) : u32(src);
            *dst++ = blue(pixel);
            *dst++ = green(pixel);
            *dst++ = red(pixel);
        }
    }
    return BmpStatus::Ok;
}

BmpStatus read(const unsigned char* file, std::uint64_t fileSize, BmpPixels& out) {
    Layout l;
    if (const BmpStatus s = parseHeader(file, fileSize, l); s != BmpStatus::Ok)
        return s;
    const unsigned char* raw = file + l.dataAt;

    out.width = l.width;
    out.height = l.height;
    out.bottomUp = !l.topDown;
    // 24-bit and ordinary 32-bit rows are compressed straight from the file's bytes.
    const bool bgrx = l.bitCount == 32 && l.masks[0] == 0xff0000 && l.masks[1] == 0x00ff00 &&
                      l.masks[2] == 0x0000ff;
    if (l.bitCount == 24 || bgrx) {
        out.data = raw;
        out.pitch = static_cast<int>(l.stride);
        out.pixelFormat = bgrx ? TJPF_BGRX : TJPF_BGR;
        return BmpStatus::Ok;
    }

    out.pitch = l.width * 3;
    out.pixelFormat = TJPF_BGR;
    out.buffer = std::make_unique_for_overwrite<unsigned char[]>(
        static_cast<std::size_t>(out.pitch) * l.height);
    out.data = out.buffer.get();
    if (l.bitCount <= 8) {
        expandPalette(file, l, out.buffer.get());
        return BmpStatus::Ok;
    }
    return expandMasked(l, raw, out.buffer.get());
}

} // namespace

FileMapping::~FileMapping() {
    if (m_data)
        ::munmap(const_cast<unsigned char*>(m_data), m_size);
}

BmpStatus readBmp(const char* path, BmpPixels& out) {
    // Non-blocking so that a FIFO given as the path cannot hang the caller; regular files ignore
    // it.
    UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return BmpStatus::CannotRead;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    // Too short to map is too short for a BMP.
    if (size < kFileHeaderSize + kInfoHeaderSize)
        return BmpStatus::Unsupported;
    try {
        // One mapping, filled at once: the rows are compressed from the page cache, never
        // copied. A file system that cannot map files gets the file read whole instead.
        const unsigned char* file = nullptr;
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd.get(), 0);
        if (mapped != MAP_FAILED) {
            out.file = FileMapping(static_cast<const unsigned char*>(mapped), size);
            file = out.file.data();
        } else {
            out.fileCopy = std::make_unique_for_overwrite<unsigned char[]>(size);
            if (!readWhole(fd.get(), out.fileCopy.get(), size))
                return BmpStatus::CannotRead;
            file = out.fileCopy.get();
        }
        return read(file, size, out);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return BmpStatus::CannotRead;
    }
}

} // namespace pictavo::jpeg
