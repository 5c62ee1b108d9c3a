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
#include <memory>
#include <optional>
#include <vector>

class PackedImage final {
public:
    /** The packed form of image, if it is smaller than worthBelow times the
        image's pixel bytes; nullopt for larger ones and when memory runs short. */
    static std::optional<PackedImage> pack(const QImage& image, double worthBelow);

    /** The image again, bit for bit; a null image when memory runs short. */
    QImage unpack() const;

    QSize size() const { return m_size; }
    /** Bytes the packed form holds. */
    std::size_t packedBytes() const { return m_bytes.size; }

private:
    struct Buffer {
        std::unique_ptr<char, void (*)(void*)> data{nullptr, nullptr};
        std::size_t size = 0;
    };

    bool unpackBands(QImage& out, std::size_t first, std::size_t end) const;

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
