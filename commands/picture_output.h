// Writing one picture as a BMP or JPEG file, shared by Save and Save All.
#pragma once

#include "platform/platform.h"

#include <QString>

/** The converter setting the program always passes. */
inline constexpr int kJpegSetting = 100;

struct OutputResult {
    bool saved = false;
    /** Why it was not saved. */
    QString reason;
    /** A BMP file that still holds the picture after a failed conversion. */
    QString keptBmp;
};

/** Writes picture as a BMP file at exactly path. */
OutputResult writeBmpFile(Platform& platform, const Picture& picture, const QString& path);

/** Writes picture as a JPEG file at jpegPath (through a link there, at the file it
    leads to) through an intermediate BMP file in the same folder that no file of the
    user's is touched by and that is gone on every way out; after a failed conversion
    it becomes a visible BMP file beside it where it can. Only the thread-safe parts of
    the platform are used. */
OutputResult writeJpegFile(Platform& platform, const Picture& picture, const QString& jpegPath);
