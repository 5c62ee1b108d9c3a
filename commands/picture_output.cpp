#include "commands/picture_output.h"

#include "commands/file_names.h"
#include "dialogs/module1.h"

namespace {
// Leaves room for the unique part and ".bmp" within a file name's 255 bytes.
constexpr qsizetype kMaxStemBytes = 200;

QString intermediateStem(const QString& jpegPath) {
    QString stem = FileNames::fileNameOf(jpegPath);
    if (stem.size() >= 4)
        stem.chop(4);
    while (stem.toUtf8().size() > kMaxStemBytes)
        stem.chop(stem.size() >= 2 && stem.back().isLowSurrogate() ? 2 : 1);
    return stem + QLatin1Char('.');
}
} // namespace

OutputResult writeBmpFile(Platform& platform, const Picture& picture, const QString& path) {
    OutputResult result;
    if (picture.isNull() || picture.isEmpty()) {
        result.reason = QStringLiteral("there is no picture in this entry");
        return result;
    }
    result.saved = platform.pictures.writeBmp(picture, path, &result.reason);
    if (result.saved && !Module1::FileExists(platform.files, path)) {
        result.saved = false;
        result.reason = QStringLiteral("the file is missing or empty after writing");
    }
    return result;
}

OutputResult writeJpegFile(Platform& platform, const Picture& picture, const QString& jpegPath) {
    if (picture.isNull() || picture.isEmpty())
        return {false, QStringLiteral("there is no picture in this entry"), {}};
    const QString bmpPath = platform.files.uniqueName(
        FileNames::folderOf(jpegPath), intermediateStem(jpegPath), QStringLiteral(".bmp"));
    OutputResult result;
    if (!platform.pictures.writeIntermediateBmp(picture, bmpPath, &result.reason))
        return result;
    // The converter's word and the file are both needed: a JPEG file that was
    // already there would pass the file test alone.
    const bool converted =
        platform.converter.BmpToJpeg(bmpPath, jpegPath, kJpegSetting, &result.reason);
    if (converted && Module1::FileExists(platform.files, jpegPath)) {
        platform.files.remove(bmpPath);
        result.saved = true;
        result.reason.clear();
        return result;
    }
    if (converted)
        result.reason = QStringLiteral("the JPEG converter left no file there");
    result.keptBmp = bmpPath;
    return result;
}
