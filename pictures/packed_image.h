// A raster image held losslessly compressed: bands of rows, each filtered
// (byte lanes split apart, every row less the row above) and packed with zstd.
#pragma once

#include <QColorSpace>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

typedef struct ZSTD_DCtx_s ZSTD_DCtx;

class PackedImage final {
public:
    /** The packed form of image, if it is smaller than worthBelow times the
        image's pixel bytes; nullopt for larger ones and when memory runs short. */
    static std::optional<PackedImage> pack(const QImage& image, double worthBelow);

    /** The image again, bit for bit; a null image when memory runs short. */
    QImage unpack() const;

    /** Hands the rows to sink band after band, the bottom band first, each unpacked into the
        same small buffer: the whole image is never in memory. sink(first row, rows, their
        bytes, bytes from row to row) says false to stop. False when a band is damaged, memory
        runs short or sink stops. */
    using BandSink = std::function<bool(int, int, const uchar*, std::size_t)>;
    bool unpackBottomUp(const BandSink& sink) const;

    QSize size() const { return m_size; }
    QImage::Format format() const { return m_format; }
    int dotsPerMeterX() const { return m_dotsPerMeterX; }
    int dotsPerMeterY() const { return m_dotsPerMeterY; }
    /** Bytes the packed form holds. */
    std::size_t packedBytes() const { return m_bytes.size; }

private:
    struct Buffer {
        std::unique_ptr<char, void (*)(void*)> data{nullptr, nullptr};
        std::size_t size = 0;
    };

    bool unpackBands(QImage& out, std::size_t first, std::size_t end) const;
    /** Unpacks band into rows, stride bytes apart; scratch holds bandBytes(). */
    bool decodeBand(ZSTD_DCtx* dctx, uchar* scratch, std::size_t band, uchar* rows,
                    std::size_t stride) const;
    std::size_t bandBytes() const;

    QImage::Format m_format = QImage::Format_Invalid;
    QSize m_size;
    QList<QRgb> m_colorTable;
    QColorSpace m_colorSpace;
    int m_dotsPerMeterX = 0;
    int m_dotsPerMeterY = 0;
    QPoint m_offset;
    QMap<QString, QString> m_text;
    int m_rowsPerBand = 0;
    // End offset of each band within m_bytes.
    std::vector<std::size_t> m_bandEnds;
    Buffer m_bytes;
};
