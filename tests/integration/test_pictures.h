// Picture files written by the tests themselves: GIF (no writer in Qt),
// RLE-compressed BMP, and headers that claim absurd sizes.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <turbojpeg.h>

namespace testpics {

inline void put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}
inline void put32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}
inline void put32be(QByteArray& b, quint32 v) {
    for (int i = 3; i >= 0; --i)
        b.append(char((v >> (8 * i)) & 0xff));
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/** A GIF of frames (indexed pixels, one per byte) sharing one 256-colour palette.
    LZW with a clear code every 250 codes, so the code size stays 9 bits. */
inline QByteArray gif(int w, int h, const QList<QByteArray>& frames, const QList<QRgb>& palette) {
    QByteArray b("GIF89a");
    put16(b, quint16(w));
    put16(b, quint16(h));
    b.append(char(0xf7)); // global table of 256 entries
    b.append(char(0));
    b.append(char(0));
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        b.append(char(qRed(c)));
        b.append(char(qGreen(c)));
        b.append(char(qBlue(c)));
    }
    for (const QByteArray& pixels : frames) {
        // Graphic control extension: keep the frame, 100 ms delay.
        b.append(QByteArray::fromHex("21f904040a000000"));
        b.append(char(0x2c));
        put16(b, 0);
        put16(b, 0);
        put16(b, quint16(w));
        put16(b, quint16(h));
        b.append(char(0));
        b.append(char(8)); // minimum code size
        QByteArray data;
        quint32 acc = 0;
        int bits = 0;
        const auto put = [&](int code) {
            acc |= quint32(code) << bits;
            bits += 9;
            while (bits >= 8) {
                data.append(char(acc & 0xff));
                acc >>= 8;
                bits -= 8;
            }
        };
        put(256);
        int run = 0;
        for (char px : pixels) {
            if (run == 250) {
                put(256);
                run = 0;
            }
            put(uchar(px));
            ++run;
        }
        put(257);
        if (bits > 0)
            data.append(char(acc & 0xff));
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const QByteArray block = data.mid(i, 255);
            b.append(char(block.size()));
            b.append(block);
        }
        b.append(char(0));
    }
    b.append(char(0x3b));
    return b;
}

/** An RLE8 (bpp 8) or RLE4 (bpp 4) BMP of an indexed image, bottom-up, using
    encoded runs and absolute runs. */
inline QByteArray rleBmp(const QImage& indexed, int bpp) {
    const int w = indexed.width(), h = indexed.height();
    QByteArray data;
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = indexed.constScanLine(y);
        int x = 0;
        while (x < w) {
            int n = 1;
            while (x + n < w && n < 255 && line[x + n] == line[x])
                ++n;
            if (n >= 3 || w - x < 3) {
                data.append(char(n));
                data.append(char(bpp == 8 ? line[x] : (line[x] << 4 | line[x])));
                x += n;
                continue;
            }
            // Absolute run of the next pixels up to the next repeat.
            int m = 3;
            while (x + m < w && m < 200 &&
                   !(x + m + 2 < w && line[x + m] == line[x + m + 1] &&
                     line[x + m] == line[x + m + 2]))
                ++m;
            data.append(char(0));
            data.append(char(m));
            QByteArray abs;
            if (bpp == 8) {
                for (int i = 0; i < m; ++i)
                    abs.append(char(line[x + i]));
            } else {
                for (int i = 0; i < m; i += 2)
                    abs.append(char(line[x + i] << 4 | (i + 1 < m ? line[x + i + 1] : 0)));
            }
            if (abs.size() % 2)
                abs.append(char(0));
            data.append(abs);
            x += m;
        }
        data.append(char(0));
        data.append(char(0)); // end of line
    }
    data.append(char(0));
    data.append(char(1)); // end of bitmap
    const int colours = bpp == 8 ? 256 : 16;
    QByteArray b("BM");
    const quint32 offset = 14 + 40 + 4 * colours;
    put32(b, offset + quint32(data.size()));
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(h));
    put16(b, 1);
    put16(b, quint16(bpp));
    put32(b, bpp == 8 ? 1 : 2); // BI_RLE8, BI_RLE4
    put32(b, quint32(data.size()));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, quint32(colours));
    put32(b, 0);
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < colours; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append(char(0));
    }
    b.append(data);
    return b;
}

/** A 24-bit BMP header claiming w x h, followed by a few bytes of data. */
inline QByteArray bmpHeader(qint32 w, qint32 h) {
    QByteArray b("BM");
    put32(b, 54 + 64);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, 0);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    b.append(QByteArray(64, '\x55'));
    return b;
}

inline quint32 crc32(const QByteArray& bytes) {
    quint32 c = 0xffffffffu;
    for (char ch : bytes) {
        c ^= uchar(ch);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xffffffffu;
}

/** A PNG signature and IHDR claiming w x h, then a scrap of IDAT. */
inline QByteArray pngHeader(quint32 w, quint32 h) {
    QByteArray b = QByteArray::fromHex("89504e470d0a1a0a");
    QByteArray ihdr("IHDR");
    put32be(ihdr, w);
    put32be(ihdr, h);
    ihdr.append(QByteArray::fromHex("0802000000")); // 8-bit RGB
    put32be(b, 13);
    b.append(ihdr);
    put32be(b, crc32(ihdr));
    QByteArray idat("IDAT");
    idat.append(QByteArray::fromHex("789c0300000000"));
    put32be(b, 7);
    b.append(idat);
    put32be(b, crc32(idat));
    return b;
}

/** The JPEG with the size in its frame header replaced. */
inline QByteArray withJpegSize(QByteArray jpeg, quint16 w, quint16 h) {
    qsizetype i = 2;
    while (i + 9 < jpeg.size() && uchar(jpeg[i]) == 0xff) {
        const uchar marker = uchar(jpeg[i + 1]);
        const int len = uchar(jpeg[i + 2]) << 8 | uchar(jpeg[i + 3]);
        if (marker >= 0xc0 && marker <= 0xc2) {
            jpeg[i + 5] = char(h >> 8);
            jpeg[i + 6] = char(h & 0xff);
            jpeg[i + 7] = char(w >> 8);
            jpeg[i + 8] = char(w & 0xff);
            break;
        }
        i += 2 + len;
    }
    return jpeg;
}

/** The image in format ("jpg", "bmp", "png"), as file bytes. */
inline QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return out;
}

/** Smooth gradients with noise: what JPEG keeps only approximately. */
inline QImage photoLike(int w, int h, quint32 seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int noise = int(random.bounded(48));
            row[x] = qRgb((x * 200 / w + noise) & 0xff, (y * 200 / h + noise) & 0xff,
                          ((x + y) * 100 / (w + h) + 2 * noise) & 0xff);
        }
    }
    return image;
}

inline QByteArray jpegOf(const QImage& image, bool progressive) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

/** A CMYK JPEG (TurboJPEG flags, such as TJFLAG_PROGRESSIVE), which TurboJPEG
    cannot decode into RGB and Qt's reader decodes instead; empty on failure. */
inline QByteArray cmykJpeg(const QImage& rgb, int flags = 0) {
    QByteArray cmyk;
    cmyk.reserve(qsizetype(rgb.width()) * rgb.height() * 4);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            cmyk += char(255 - qRed(p));
            cmyk += char(255 - qGreen(p));
            cmyk += char(255 - qBlue(p));
            cmyk += char(x % 64);
        }
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    QByteArray bytes;
    if (handle && tjCompress2(handle, reinterpret_cast<const unsigned char*>(cmyk.constData()),
                              rgb.width(), 0, rgb.height(), TJPF_CMYK, &out, &size, TJSAMP_444,
                              90, flags) == 0)
        bytes = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    if (handle)
        tjDestroy(handle);
    return bytes;
}

/** A progressive JPEG with its last scan repeated: each copy is one more pass
    over the whole picture for a decoder that goes on after warnings. */
inline QByteArray scanBomb(int side, int copies) {
    QImage flat(side, side, QImage::Format_RGB32);
    flat.fill(0xff808080);
    const QByteArray jpeg = jpegOf(flat, true);
    const qsizetype lastScan = jpeg.lastIndexOf("\xff\xda");
    const QByteArray scan = jpeg.mid(lastScan, jpeg.size() - 2 - lastScan);
    return jpeg.left(jpeg.size() - 2) + scan.repeated(copies) + QByteArray("\xff\xd9");
}

} // namespace testpics
