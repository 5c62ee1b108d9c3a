// JPEG decoding with TurboJPEG straight into the 32-bit format that the window
// draws (which saves Qt's reader its extra conversion pass), at full size or
// at 1/2, 1/4 or 1/8 of it, and never slowly whatever the file holds.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

/** Scans a JPEG may have. Cameras write one, editors and encoders a few dozen at
    most (libjpeg's progressive script has 10); every scan costs a pass over the
    whole picture, so a file of thousands takes minutes to decode. */
inline constexpr int kMaxJpegScans = 100;

/** The number of scans (SOS markers) that libjpeg would read in a JPEG's bytes,
    counting stops past limit; nullopt when a marker there makes libjpeg refuse
    the file (one it does not know, a second SOI, a length below 2). */
std::optional<int> jpegScanCount(const QByteArray& bytes, int limit);

/** The size of the JPEG in bytes if TurboJPEG decodes it into RGB; nullopt
    for CMYK and for what it cannot read. */
std::optional<QSize> turboJpegSize(const QByteArray& bytes);

/** What a JPEG's first decode, which checks the whole file, must cover: a
    thumbnail of the main window (74 × 58 pixels) at twice the pixel density.
    It is made at the smallest scale that does. */
inline constexpr QSize kJpegPreviewCover(148, 116);

/** Why libjpeg objects to a JPEG that TurboJPEG cannot decode into RGB (CMYK),
    warnings included, found by decoding it at 1/8 of its size; "" when it does
    not, or cannot read the file at all. Qt's reader, which decodes such files,
    would show a damaged one with blocks of grey. */
QString cmykJpegDamage(const QByteArray& bytes);

/** The denominator (1, 2, 4 or 8) of the smallest scale at which a picture of
    full size is still at least cover on both sides. */
int jpegScaleCovering(QSize full, QSize cover);

/** The JPEG in bytes as an RGB32 image at 1/denominator of its size. A null
    image when it fails: with the reason in *damage when the data is damaged or
    cut short (a warning too: the picture would show rows that are not in the
    file), with *damage untouched when memory runs short or TurboJPEG cannot take
    the file (turboJpegSize() says which). */
QImage decodeJpeg(const QByteArray& bytes, int denominator, QString* damage);
