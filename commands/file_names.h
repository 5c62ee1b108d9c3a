// The file-name rules of Save, Save All and dragged pictures, as plain string functions.
#pragma once

#include "platform/paths.h"

#include <QDateTime>
#include <QString>

namespace FileNames {

/** Save's proposal: the name without its last four characters, plus extension
    (".jpg" for the gallery, ".bmp" for a zoom window); "" when the name is shorter
    than four characters. */
QString proposedName(const QString& name, const QString& extension);

/** The last four characters in lower case: only they decide the format. */
QString extensionOf(const QString& path);

using paths::folderOf;

/** The name part of a path. */
QString fileNameOf(const QString& path);

/** A folder path ending in "/". */
QString withTrailingSlash(const QString& folder);

/** Seconds as a single-precision number: at most seven significant digits,
    no exponent, no trailing zeros, decimalPoint between the parts. */
QString formatSeconds(float seconds, const QString& decimalPoint);

/** Save All's name of entry index without extension:
    folder + "image_" + (index + 1) + "_" + MM-dd-yyyy + "_" + seconds since midnight. */
QString saveAllBaseName(const QString& folder, int index, const QDateTime& now,
                        const QString& decimalPoint);

/** The name of the PNG file handed to a drop target: the base name of the
    entry's file (or the entry's name, as "Image 3"), made safe for any file
    system and short enough for one; fallback when nothing of it is left. */
QString dragFileName(const QString& entryName, const QString& fallback);

} // namespace FileNames
