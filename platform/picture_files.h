#pragma once

#include "pictures/picture.h"

#include <QString>

/** Reading pictures from files and writing them as BMP. */
class IPictureFiles {
public:
    virtual ~IPictureFiles() = default;
    /** The picture in path, recognised by content; null with a reason on failure. */
    virtual Picture load(const QString& path, QString* error) = 0;
    /** Writes picture as a BMP file at exactly path; a failure leaves no new file
        there. Safe to call from several threads at once. */
    virtual bool writeBmp(const Picture& picture, const QString& path, QString* error) = 0;
    /** Writes picture as a new BMP file at path for the converter to read: no
        file may be there yet, and the disk is not waited for. A failure leaves
        no file. Safe to call from several threads at once. */
    virtual bool writeIntermediateBmp(const Picture& picture, const QString& path, QString* error) {
        return writeBmp(picture, path, error);
    }
};
