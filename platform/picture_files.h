#pragma once

#include "pictures/picture.h"

#include <QString>
#include <memory>

/** A picture written as a BMP file for the converter. It has no name of its own
    where the file system allows, and goes with this object: on every way out,
    whatever became of its folder meanwhile, nothing of it is left unless kept. */
class IntermediateBmp {
public:
    IntermediateBmp() = default;
    IntermediateBmp(const IntermediateBmp&) = delete;
    IntermediateBmp& operator=(const IntermediateBmp&) = delete;
    virtual ~IntermediateBmp() = default;
    /** Where the converter reads it, while this object lives. */
    virtual QString path() const = 0;
    /** Keeps it as the file name, which no file may have yet. */
    virtual bool keepAs(const QString& name, QString* error) = 0;
};

/** Reading pictures from files and writing them as BMP. */
class IPictureFiles {
public:
    virtual ~IPictureFiles() = default;
    /** The picture in path, recognised by content; null with a reason on failure. */
    virtual Picture load(const QString& path, QString* error) = 0;
    /** Writes picture as a BMP file at exactly path; a failure leaves no new file
        there. Safe to call from several threads at once. */
    virtual bool writeBmp(const Picture& picture, const QString& path, QString* error) = 0;
    /** Writes picture as a BMP file in folder for the converter to read, without
        waiting for the disk; null with the reason on failure, leaving nothing. Safe
        to call from several threads at once. */
    virtual std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture& picture,
                                                                  const QString& folder,
                                                                  QString* error) = 0;
};
