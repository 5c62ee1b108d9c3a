// Writing a 32-bit picture as a BMP file straight from its rows.
#pragma once

#include <QImage>
#include <QString>

class PackedImage;

/** True when image's rows are already the pixels of a 32-bit uncompressed BMP: opaque
    0xffRRGGBB words in this machine's byte order. */
bool writesAsItIs(const QImage& image);

/** Writes image (writesAsItIs) to the empty file fd as a 32-bit uncompressed BMP, bottom-up
    as every viewer reads, without copying or converting a pixel. */
bool writeDirectBmp(int fd, const QImage& image, QString* error);

/** The same for a picture held packed, whose rows are then unpacked a band at a time, from
    the bottom up, and written while still in the cache. */
bool writesAsItIs(const PackedImage& packed);
bool writeDirectBmp(int fd, const PackedImage& packed, QString* error);
