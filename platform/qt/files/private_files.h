// The program's private library folder: the JPEG converter and the metafile helper live
// there, at a fixed place relative to the program itself (as installed and in the build
// tree alike), so neither the current folder nor a search path can substitute them.
#pragma once

#include <QString>

/** The private folder, found from the running program's own location. */
QString privateFolder();

/** A file in the private folder. */
QString privateFile(const QString& name);

/**
 * Why the file at path cannot be used, naming what is missing and where it was looked
 * for; empty when it exists and is readable. what names the file for the user.
 */
QString privateFileProblem(const QString& what, const QString& path);
