// The file-name rules of Save and Save All, as plain string functions.
#pragma once

#include <QDateTime>
#include <QString>

namespace FileNames {

/** Save's proposal: the entry's name without its last four characters, plus
    ".jpg"; "" when the name is shorter than four characters. */
QString proposedSaveName(const QString& entryName);

/** The last four characters in lower case: only they decide the format. */
QString extensionOf(const QString& path);

/** The folder part of a path, "/" for a file in the root. */
QString folderOf(const QString& path);

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

} // namespace FileNames
