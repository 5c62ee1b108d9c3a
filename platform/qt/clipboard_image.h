// Which bitmap types the clipboard readers take, and how their bytes become a picture.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

/** MIME types in order of preference. */
const std::vector<QByteArray>& clipboardImageTypes();
/** Decodes with the raster decoder the type names only; null and a reason otherwise. */
QImage decodeClipboardImage(const QByteArray& mimeType, const QByteArray& data, QString* reason);
