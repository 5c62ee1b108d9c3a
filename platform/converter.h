#pragma once

#include <QString>

/** The JPEG converter library. Safe to call from several threads at once. */
class IConverter {
public:
    virtual ~IConverter() = default;
    /** Turns the BMP file into a JPEG file; on failure leaves no new file at
        jpegPath (one already there is untouched) and gives the reason in error. */
    virtual bool BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting,
                           QString* error) = 0;
};
