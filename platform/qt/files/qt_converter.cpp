#include "platform/qt/files/qt_converter.h"

#include "converter/abi.h"
#include "converter/bmp_to_jpeg.h"
#include "platform/qt/files/private_files.h"
#include "platform/qt/files/qt_file_system.h"
#include "platform/qt/files/system_error.h"

#include <QCoreApplication>
#include <QLibrary>
#include <cerrno>
#include <mutex>

QString QtConverter::defaultLibraryPath() {
    return privateFile(QStringLiteral("libpictavo_jpeg.so"));
}

bool QtConverter::BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting,
                            QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString problem =
        privateFileProblem(QCoreApplication::translate("Converter", "it"), m_libraryPath);
    if (!problem.isEmpty())
        return fail(
            QCoreApplication::translate("Converter", "the JPEG converter could not be loaded: %1")
                .arg(problem));
    // Loaded at each call by absolute path. Qt 6.4 counts two loads that race
    // for a library's first load wrongly and then never frees its record, so the
    // loads of Save All's workers take turns; the conversions still run together.
    QLibrary library(m_libraryPath);
    static std::mutex loading;
    std::unique_lock lock(loading);
    if (!library.load())
        return fail(
            QCoreApplication::translate("Converter", "the JPEG converter could not be loaded (%1)")
                .arg(library.errorString()));
    // A library of another interface might take the arguments for something else.
    const auto version =
        reinterpret_cast<PictavoJpegAbiVersionFunction>(library.resolve("PictavoJpegAbiVersion"));
    if (!version)
        return fail(QCoreApplication::translate(
                        "Converter", "the JPEG converter %1 is refused: it does not say its "
                                     "interface version")
                        .arg(m_libraryPath));
    if (const int found = version(); found != PICTAVO_JPEG_ABI_VERSION)
        return fail(QCoreApplication::translate(
                        "Converter", "the JPEG converter %1 is refused: it has interface version "
                                     "%2, this program needs %3")
                        .arg(m_libraryPath)
                        .arg(found)
                        .arg(PICTAVO_JPEG_ABI_VERSION));
    const auto convert = reinterpret_cast<BmpToJpegFunction>(library.resolve("BmpToJpeg"));
    if (!convert)
        return fail(QCoreApplication::translate(
                        "Converter", "the JPEG converter %1 is refused: it has no BmpToJpeg")
                        .arg(m_libraryPath));
    lock.unlock();
    // The same bytes the file system gets everywhere else: a name that is not
    // valid UTF-8 reaches the converter as it is on disk.
    const QByteArray bmpName = encodeFileName(bmpPath);
    const QByteArray jpegName = encodeFileName(jpegPath);
    errno = 0;
    const int code = convert(bmpName.constData(), jpegName.constData(), setting);
    const int why = errno;
    if (code == PICTAVO_JPEG_OK)
        return true;
    return fail(failureText(code, why));
}

QString QtConverter::failureText(int code, int why) {
    if (why == ENOMEM)
        return QCoreApplication::translate("Converter",
                                           "there was not enough memory to convert it to JPEG");
    switch (code) {
    case PICTAVO_JPEG_CANNOT_READ:
        return QCoreApplication::translate("Converter",
                                           "the JPEG converter could not read the picture: %1")
            .arg(systemError(why ? why : EIO));
    case PICTAVO_JPEG_UNSUPPORTED_BMP:
        return QCoreApplication::translate("Converter",
                                           "the JPEG converter does not take this kind of bitmap");
    case PICTAVO_JPEG_ENCODE_FAILED:
        return QCoreApplication::translate("Converter",
                                           "the JPEG converter could not encode the picture");
    case PICTAVO_JPEG_CANNOT_WRITE:
        return QCoreApplication::translate("Converter", "the JPEG file could not be written: %1")
            .arg(systemError(why ? why : EIO));
    default:
        return QCoreApplication::translate("Converter",
                                           "the JPEG converter refused the file names it was given");
    }
}
