#pragma once

#include <QString>

/** The JPEG converter library. */
class IConverter {
public:
    virtual ~IConverter() = default;
    /** Turns the BMP file into a JPEG file; leaves no JPEG file on failure. */
    virtual bool BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting) = 0;
};
