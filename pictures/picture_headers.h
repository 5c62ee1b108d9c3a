// What the headers of BMP and GIF files say about the picture before Qt's readers
// decode it: its size, and whether the file holds all of it.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

class QIODevice;

/** The size a BMP or GIF header claims, from the file's first 64 bytes. */
std::optional<QSize> headerSize(const QByteArray& head);

/** Where a BMP file's pixel data ends by its header, for a picture of size within
    the bounds; nullopt when the header does not tell. */
std::optional<qint64> bmpDataEnd(const QByteArray& head, QSize size);

/** Whether a GIF file holds every block of its first image, the one shown. */
bool gifFirstImageComplete(QIODevice& file);

/** Why a BMP or GIF file (format as Qt names it) of fileSize bytes cannot be whole,
    or "" when nothing says so. */
QString cutShort(const QByteArray& format, const QByteArray& head, QSize size, QIODevice& file,
                 qint64 fileSize);
