#include "pictures/packed_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <system_error>
#include <thread>
#include <zstd.h>

namespace {

// Bands of about this many bytes: small enough for the filter to stay in the
// cache and the scratch buffers to be small, large enough for zstd to find matches.
constexpr std::size_t kBandBytes = 1 << 20;
// zstd's fastest level: screenshots shrink about as well as at the default,
// at a third of the time.
constexpr int kLevel = 1;
// Below this a picture unpacks on one thread: starting another costs more.
constexpr std::size_t kParallelBytes = 4 << 20;

struct CCtxFree {
    void operator()(ZSTD_CCtx* c) const { ZSTD_freeCCtx(c); }
};
struct DCtxFree {
    void operator()(ZSTD_DCtx* c) const { ZSTD_freeDCtx(c); }
};

/** Asks for huge pages under a fresh buffer: faulting its small pages in one
    by one costs more than the decode that fills them. */
void adviseHugePages(uchar* bits, std::size_t bytes) {
    constexpr std::uintptr_t kHuge = 2 << 20;
    const auto from = (reinterpret_cast<std::uintptr_t>(bits) + kHuge - 1) & ~(kHuge - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(bits) + bytes) & ~(kHuge - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

std::size_t rowBytesOf(const QImage& image) {
    return (std::size_t(image.width()) * image.depth() + 7) / 8;
}

/** Byte lanes per pixel for the filter; 0 where the bytes are not colour
    values that run smoothly (palette indices, 1-bit pixels). */
int lanesOf(const QImage& image) {
    if (!image.colorTable().isEmpty() || image.depth() % 8 != 0)
        return 0;
    return image.depth() / 8;
}

// Row r of a band goes to lane b's plane as the difference to the row above:
// neighbouring bytes of a plane are then mostly equal or zero.
template <int L>
void filterRow(const uchar* row, const uchar* up, uchar* band, std::size_t planeBytes,
               std::size_t width, int lanes) {
    const int n = L ? L : lanes;
    for (int b = 0; b < n; ++b) {
        uchar* plane = band + b * planeBytes;
        if (up) {
            for (std::size_t x = 0; x < width; ++x)
                plane[x] = uchar(row[x * n + b] - up[x * n + b]);
        } else {
            for (std::size_t x = 0; x < width; ++x)
                plane[x] = row[x * n + b];
        }
    }
}

// The hot loop of every decode: one pass, lanes interleaved, for the vectoriser.
template <int L>
__attribute__((optimize("O3"))) void unfilterRow(const uchar* band, std::size_t planeBytes,
                                                const uchar* up, uchar* row, std::size_t width,
                                                int lanes) {
    if constexpr (L == 0) {
        for (int b = 0; b < lanes; ++b) {
            const uchar* plane = band + b * planeBytes;
            for (std::size_t x = 0; x < width; ++x)
                row[x * lanes + b] = uchar(plane[x] + (up ? up[x * lanes + b] : 0));
        }
    } else {
        const uchar* plane[L];
        for (int b = 0; b < L; ++b)
            plane[b] = band + b * planeBytes;
        if (up) {
            for (std::size_t x = 0; x < width; ++x)
                for (int b = 0; b < L; ++b)
                    row[x * L + b] = uchar(plane[b][x] + up[x * L + b]);
        } else {
            for (std::size_t x = 0; x < width; ++x)
                for (int b = 0; b < L; ++b)
                    row[x * L + b] = plane[b][x];
        }
    }
}

using FilterFn = void (*)(const uchar*, const uchar*, uchar*, std::size_t, std::size_t, int);
using UnfilterFn = void (*)(const uchar*, std::size_t, const uchar*, uchar*, std::size_t, int);

FilterFn filterFor(int lanes) {
    switch (lanes) {
    case 1: return filterRow<1>;
    case 2: return filterRow<2>;
    case 3: return filterRow<3>;
    case 4: return filterRow<4>;
    default: return filterRow<0>;
    }
}

UnfilterFn unfilterFor(int lanes) {
    switch (lanes) {
    case 1: return unfilterRow<1>;
    case 2: return unfilterRow<2>;
    case 3: return unfilterRow<3>;
    case 4: return unfilterRow<4>;
    default: return unfilterRow<0>;
    }
}

} // namespace

std::optional<PackedImage> PackedImage::pack(const QImage& image, double worthBelow) {
    if (image.isNull())
        return std::nullopt;
    const std::size_t rowBytes = rowBytesOf(image);
    const std::size_t height = std::size_t(image.height());
    const std::size_t raw = rowBytes * height;
    const int lanes = lanesOf(image);
    const std::size_t rowsPerBand = std::clamp<std::size_t>(kBandBytes / rowBytes, 1, height);
    const std::size_t bandCapacity = rowsPerBand * rowBytes;
    const std::size_t limit = std::size_t(double(raw) * worthBelow);
    const std::size_t bound = ZSTD_compressBound(bandCapacity);

    std::unique_ptr<ZSTD_CCtx, CCtxFree> cctx(ZSTD_createCCtx());
    std::unique_ptr<uchar[]> scratch(new (std::nothrow) uchar[bandCapacity]);
    // Only the pages written count against memory: the rest of this reserve
    // is given back when the buffer shrinks to the packed size.
    char* out = static_cast<char*>(std::malloc(limit + bound));
    Buffer bytes;
    bytes.data = {out, std::free};
    if (!cctx || !scratch || !out)
        return std::nullopt;
    ZSTD_CCtx_setParameter(cctx.get(), ZSTD_c_compressionLevel, kLevel);

    PackedImage p;
    const FilterFn filter = filterFor(lanes);
    std::size_t used = 0;
    for (std::size_t y0 = 0; y0 < height; y0 += rowsPerBand) {
        const std::size_t rows = std::min(rowsPerBand, height - y0);
        const std::size_t bandBytes = rows * rowBytes;
        for (std::size_t r = 0; r < rows; ++r) {
            const uchar* row = image.constScanLine(int(y0 + r));
            if (lanes) {
                const uchar* up = r ? image.constScanLine(int(y0 + r - 1)) : nullptr;
                filter(row, up, scratch.get() + r * image.width(), rows * image.width(),
                       std::size_t(image.width()), lanes);
            } else {
                std::memcpy(scratch.get() + r * rowBytes, row, rowBytes);
            }
        }
        const std::size_t n = ZSTD_compress2(cctx.get(), out + used, limit + bound - used,
                                             scratch.get(), bandBytes);
        if (ZSTD_isError(n))
            return std::nullopt;
        used += n;
        if (used >= limit)
            return std::nullopt;
        p.m_bandEnds.push_back(used);
    }
    // Shrinking a block in place never fails; where realloc moves it, it keeps the old one.
    if (void* shrunk = std::realloc(bytes.data.get(), std::max<std::size_t>(used, 1))) {
        bytes.data.release();
        bytes.data = {static_cast<char*>(shrunk), std::free};
    }
    bytes.size = used;
    p.m_bytes = std::move(bytes);
    p.m_format = image.format();
    p.m_size = image.size();
    p.m_colorTable = image.colorTable();
    p.m_colorSpace = image.colorSpace();
    p.m_dotsPerMeterX = image.dotsPerMeterX();
    p.m_dotsPerMeterY = image.dotsPerMeterY();
    p.m_offset = image.offset();
    for (const QString& key : image.textKeys())
        p.m_text.insert(key, image.text(key));
    p.m_rowsPerBand = int(rowsPerBand);
    return p;
}

bool PackedImage::decodeBand(ZSTD_DCtx* dctx, uchar* scratch, std::size_t band, uchar* rows,
                             std::size_t stride) const {
    const int depth = QImage::toPixelFormat(m_format).bitsPerPixel();
    const std::size_t width = std::size_t(m_size.width());
    const std::size_t rowBytes = (width * std::size_t(depth) + 7) / 8;
    // As the packing filtered it: palette indices and bits are kept as they are.
    const int lanes = m_colorTable.isEmpty() && depth % 8 == 0 ? depth / 8 : 0;
    const std::size_t rowsPerBand = std::size_t(m_rowsPerBand);
    const std::size_t y0 = band * rowsPerBand;
    const std::size_t count = std::min(rowsPerBand, std::size_t(m_size.height()) - y0);
    const std::size_t from = band ? m_bandEnds[band - 1] : 0;
    const std::size_t n = ZSTD_decompressDCtx(dctx, scratch, count * rowBytes,
                                              m_bytes.data.get() + from, m_bandEnds[band] - from);
    if (ZSTD_isError(n) || n != count * rowBytes)
        return false;
    const UnfilterFn unfilter = unfilterFor(lanes);
    for (std::size_t r = 0; r < count; ++r) {
        uchar* row = rows + r * stride;
        if (lanes)
            unfilter(scratch + r * width, count * width, r ? row - stride : nullptr, row, width,
                     lanes);
        else
            std::memcpy(row, scratch + r * rowBytes, rowBytes);
    }
    return true;
}

std::size_t PackedImage::bandBytes() const {
    const auto depth = std::size_t(QImage::toPixelFormat(m_format).bitsPerPixel());
    return std::size_t(m_rowsPerBand) * ((std::size_t(m_size.width()) * depth + 7) / 8);
}

bool PackedImage::unpackBands(QImage& out, std::size_t first, std::size_t end) const {
    std::unique_ptr<ZSTD_DCtx, DCtxFree> dctx(ZSTD_createDCtx());
    std::unique_ptr<uchar[]> scratch(new (std::nothrow) uchar[bandBytes()]);
    if (!dctx || !scratch)
        return false;
    // Rows are reached through the pointer taken before the threads started:
    // scanLine() on a shared QImage is not safe from several threads.
    uchar* const bits = const_cast<uchar*>(out.constBits());
    const std::size_t stride = std::size_t(out.bytesPerLine());
    for (std::size_t band = first; band < end; ++band) {
        if (!decodeBand(dctx.get(), scratch.get(), band, bits + band * m_rowsPerBand * stride,
                        stride))
            return false;
    }
    return true;
}

bool PackedImage::unpackBottomUp(const BandSink& sink) const {
    const std::size_t bytes = bandBytes();
    std::unique_ptr<ZSTD_DCtx, DCtxFree> dctx(ZSTD_createDCtx());
    std::unique_ptr<uchar[]> scratch(new (std::nothrow) uchar[bytes]);
    std::unique_ptr<uchar[]> rows(new (std::nothrow) uchar[bytes]);
    if (!dctx || !scratch || !rows || m_bandEnds.empty())
        return false;
    const std::size_t rowBytes = bytes / std::size_t(m_rowsPerBand);
    for (std::size_t band = m_bandEnds.size(); band-- > 0;) {
        const int y0 = int(band) * m_rowsPerBand;
        if (!decodeBand(dctx.get(), scratch.get(), band, rows.get(), rowBytes) ||
            !sink(y0, std::min(m_rowsPerBand, m_size.height() - y0), rows.get(), rowBytes))
            return false;
    }
    return true;
}

QImage PackedImage::unpack() const {
    if (m_size.isEmpty())
        return {};
    QImage out(m_size, m_format);
    if (out.isNull())
        return {};
    out.setColorTable(m_colorTable);
    out.setColorSpace(m_colorSpace);
    out.setDotsPerMeterX(m_dotsPerMeterX);
    out.setDotsPerMeterY(m_dotsPerMeterY);
    out.setOffset(m_offset);
    for (auto it = m_text.cbegin(); it != m_text.cend(); ++it)
        out.setText(it.key(), it.value());
    // Detached now, before other threads write into its rows.
    uchar* const bits = out.bits();

    const std::size_t bands = m_bandEnds.size();
    const std::size_t raw = rowBytesOf(out) * std::size_t(out.height());
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers =
        raw >= kParallelBytes ? std::min<std::size_t>({cores, 4, bands}) : 1;
    if (raw >= kParallelBytes)
        adviseHugePages(bits, std::size_t(out.sizeInBytes()));
    // Band range w of the workers is [bands * w / workers, bands * (w + 1) / workers).
    std::vector<std::thread> helpers;
    std::vector<char> helperOk(workers, 1);
    std::size_t leftFrom = bands;
    for (std::size_t w = 1; w < workers; ++w) {
        const std::size_t first = bands * w / workers;
        const std::size_t end = bands * (w + 1) / workers;
        try {
            helpers.emplace_back([this, &out, &helperOk, w, first, end] {
                helperOk[w] = unpackBands(out, first, end);
            });
        } catch (const std::system_error&) {
            // No thread to be had: this one does the rest.
            leftFrom = first;
            break;
        }
    }
    bool ok = unpackBands(out, 0, bands / workers);
    if (leftFrom < bands)
        ok = unpackBands(out, leftFrom, bands) && ok;
    for (std::thread& t : helpers)
        t.join();
    for (char h : helperOk)
        ok = ok && h;
    return ok ? out : QImage();
}
