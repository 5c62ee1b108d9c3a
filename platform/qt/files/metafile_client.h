// Loading EMF and WMF files through the pictavo-metafile helper process, so that a parser
// crash or hang costs one file and never the program.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

struct MetafileDrawing {
    QByteArray svg;
    QSize frame; // natural size in pixels at 96 dpi
};

// Long enough for the helper's own 10 s CPU limit to act first on a runaway parse.
constexpr int kMetafileTimeoutMs = 15000;

/** True when the first bytes of a file (44 suffice) are those of an EMF or WMF file. */
bool looksLikeMetafile(const QByteArray& head);

/** The helper in the program's private folder. */
QString metafileHelperPath();

/** The drawing of an EMF or WMF file, or nullopt with the reason in *error. A helper
    still running at timeoutMs is ended. */
std::optional<MetafileDrawing>
loadMetafileViaHelper(const QString& helperPath, const QString& filePath, int timeoutMs,
                      QString* error);
