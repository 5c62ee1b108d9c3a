// Turns the bytes of a clipboard image target into a picture, trusting the target's name:
// a clipboard owner must not make the program decode anything but the raster it promises.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

/** The image types read from the clipboard that can be decoded here, in order of
    preference: the exact ones that owners hand over fastest first. */
const std::vector<QByteArray>& clipboardImageTypes();

/** Decodes data with the one raster decoder that mimeType names. A null image, with
    reason set, for a type that is not in the list, bytes that are not that format,
    or a picture larger than the program takes. */
QImage decodeClipboardImage(const QByteArray& mimeType, const QByteArray& data, QString* reason);

/** True when the first bytes of a transfer already name a picture larger than the program
    takes: the rest need not be waited for. False while the header is incomplete. */
bool clipboardImageRefusedByHeader(const QByteArray& mimeType, const QByteArray& head,
                                   QString* reason);

/** An owner replaced by a newer copy while it sends is read on while its pieces come
    this close together, for this long at most: it may quit once done, and its picture
    with it. One slower than that would hold up the newer copy. */
constexpr int kReplacedPieceMs = 500;
constexpr int kReplacedRestMs = 3000;
