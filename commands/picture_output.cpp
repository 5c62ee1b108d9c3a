#include "commands/picture_output.h"

#include "commands/file_names.h"
#include "dialogs/module1.h"

#include <QCoreApplication>
#include <memory>

namespace {
// Leaves room for the unique part and ".bmp" within a file name's 255 bytes.
constexpr qsizetype kMaxStemBytes = 200;

// The name of a BMP file kept after a failed conversion: the JPEG name's stem.
QString keptStem(const QString& jpegPath) {
    QString stem = FileNames::fileNameOf(jpegPath);
    if (stem.size() >= 4)
        stem.chop(4);
    // A byte that is not UTF-8 is one lone low surrogate and one byte on disk.
    while (stem.toUtf8().size() > kMaxStemBytes) {
        const bool pair = stem.size() >= 2 && stem.back().isLowSurrogate() &&
                          stem.at(stem.size() - 2).isHighSurrogate();
        stem.chop(pair ? 2 : 1);
    }
    return stem + QLatin1Char('.');
}
} // namespace

OutputResult writeBmpFile(Platform& platform, const Picture& picture, const QString& path) {
    OutputResult result;
    if (picture.isNull() || picture.isEmpty()) {
        result.reason =
            QCoreApplication::translate("Pictures", "there is no picture in this entry");
        return result;
    }
    result.saved = platform.pictures.writeBmp(picture, path, &result.reason);
    if (result.saved && !Module1::FileExists(platform.files, path)) {
        result.saved = false;
        result.reason =
            QCoreApplication::translate("Pictures", "the file is missing or empty after writing");
    }
    return result;
}

OutputResult writeJpegFile(Platform& platform, const Picture& picture, const QString& jpegPath) {
    if (picture.isNull() || picture.isEmpty())
        return {false,
                QCoreApplication::translate("Pictures", "there is no picture in this entry"),
                {}};
    OutputResult result;
    // Through a link, the file it leads to is replaced, in its own folder.
    const QString target = platform.files.saveTarget(jpegPath, &result.reason);
    if (target.isEmpty())
        return result;
    const QString folder = FileNames::folderOf(target);
    // Gone with this on every way out, a throw included, unless kept below.
    const std::unique_ptr<IntermediateBmp> bmp =
        platform.pictures.writeIntermediateBmp(picture, folder, &result.reason);
    if (!bmp)
        return result;
    // The converter's word and the file are both needed: a JPEG file that was
    // already there would pass the file test alone.
    const bool converted =
        platform.converter.BmpToJpeg(bmp->path(), target, kJpegSetting, &result.reason);
    if (converted && Module1::FileExists(platform.files, target)) {
        result.saved = true;
        result.reason.clear();
        return result;
    }
    if (converted)
        result.reason =
            QCoreApplication::translate("Pictures", "the JPEG converter left no file there");
    // The picture stays in the folder as a BMP file the user can see; if even
    // that fails, nothing is left, and no file is claimed to hold it.
    const QString kept =
        platform.files.uniqueName(folder, keptStem(jpegPath), QStringLiteral(".bmp"));
    if (bmp->keepAs(kept, nullptr))
        result.keptBmp = kept;
    return result;
}
