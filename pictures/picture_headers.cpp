#include "pictures/picture_headers.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QtEndian>
#include <climits>

// The size a BMP or GIF header claims. Qt's BMP reader turns an oversized
// header down without saying why, and its GIF reader does not tell the size
// before decoding, so these two are read here.
std::optional<QSize> headerSize(const QByteArray& head) {
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    if (head.size() >= 10 && (head.startsWith("GIF87a") || head.startsWith("GIF89a")))
        return QSize(qFromLittleEndian<quint16>(p + 6), qFromLittleEndian<quint16>(p + 8));
    if (head.size() < 26 || !head.startsWith("BM"))
        return std::nullopt;
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    if (infoSize == 12)
        return QSize(qFromLittleEndian<quint16>(p + 18), qFromLittleEndian<quint16>(p + 20));
    if (infoSize >= 40) {
        const qint64 w = qAbs(qint64(qFromLittleEndian<qint32>(p + 18)));
        const qint64 h = qAbs(qint64(qFromLittleEndian<qint32>(p + 22)));
        return QSize(int(qMin<qint64>(w, INT_MAX)), int(qMin<qint64>(h, INT_MAX)));
    }
    return std::nullopt;
}

std::optional<qint64> bmpDataEnd(const QByteArray& head, QSize size) {
    constexpr quint32 kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6;
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    if (head.size() < 38 || !head.startsWith("BM"))
        return std::nullopt;
    const qint64 dataAt = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    const int bits = qFromLittleEndian<quint16>(p + (infoSize == 12 ? 24 : 28));
    const quint32 compression = infoSize == 12 ? kRgb : qFromLittleEndian<quint32>(p + 30);
    if (compression == kRle8 || compression == kRle4) {
        // Run-length data has no fixed size; the header gives it.
        const quint32 dataSize = qFromLittleEndian<quint32>(p + 34);
        return dataSize > 0 ? std::optional<qint64>(dataAt + dataSize) : std::nullopt;
    }
    if ((compression != kRgb && compression != kBitfields && compression != kAlphaBitfields) ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return std::nullopt;
    const qint64 rowBytes = (qint64(size.width()) * bits + 31) / 32 * 4;
    return dataAt + rowBytes * size.height();
}

namespace {

bool skipSubBlocks(QIODevice& file) {
    for (;;) {
        char length = 0;
        if (!file.getChar(&length))
            return false;
        if (length == 0)
            return true;
        const auto n = qint64(uchar(length));
        if (file.skip(n) != n)
            return false;
    }
}

} // namespace

// Qt's reader would draw a cut-off image with its missing rows left empty.
bool gifFirstImageComplete(QIODevice& file) {
    if (!file.seek(0))
        return false;
    const QByteArray screen = file.read(13);
    if (screen.size() < 13)
        return false;
    const auto colourTable = [](char flags) {
        return uchar(flags) & 0x80 ? qint64(3) << ((uchar(flags) & 7) + 1) : 0;
    };
    if (const qint64 table = colourTable(screen[10]); file.skip(table) != table)
        return false;
    for (;;) {
        char introducer = 0;
        if (!file.getChar(&introducer))
            return false;
        if (introducer == 0x21) { // an extension: label, then sub-blocks
            if (!file.getChar(&introducer) || !skipSubBlocks(file))
                return false;
        } else if (introducer == 0x2c) { // the image: descriptor, colours, code size, data
            const QByteArray descriptor = file.read(9);
            if (descriptor.size() < 9)
                return false;
            const qint64 table = colourTable(descriptor[8]) + 1;
            return file.skip(table) == table && skipSubBlocks(file);
        } else {
            return true; // no image at all: Qt's reader says so itself
        }
    }
}

QString cutShort(const QByteArray& format, const QByteArray& head, QSize size, QIODevice& file,
                 qint64 fileSize) {
    if (format == "bmp") {
        if (const auto end = bmpDataEnd(head, size); end && *end > fileSize)
            return QCoreApplication::translate(
                       "Pictures", "the file is shorter than its header says (%1 of %2 bytes)")
                .arg(fileSize)
                .arg(*end);
    } else if (format == "gif" && !gifFirstImageComplete(file)) {
        return QCoreApplication::translate("Pictures", "the file ends before its picture does");
    }
    return {};
}
