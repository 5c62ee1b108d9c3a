#include "platform/qt/qt_converter.h"

#include "platform/qt/qt_file_system.h"

#include <QCoreApplication>
#include <QLibrary>

QString QtConverter::defaultLibraryPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libpictavo_jpeg.so");
}

bool QtConverter::BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting,
                            QString* error) {
    using Fn = int (*)(const char*, const char*, int);
    // Loaded at each call by absolute path; QLibrary's store is shared and
    // locked, so concurrent calls load it once and never unload it under another.
    QLibrary library(m_libraryPath);
    auto fn = reinterpret_cast<Fn>(library.resolve("BmpToJpeg"));
    if (!fn) {
        if (error)
            *error = QStringLiteral("the JPEG converter could not be loaded (%1)")
                         .arg(library.errorString());
        return false;
    }
    // The same bytes the file system gets everywhere else: a name that is not
    // valid UTF-8 reaches the converter as it is on disk.
    const int code = fn(encodeFileName(bmpPath).constData(),
                        encodeFileName(jpegPath).constData(), setting);
    if (code != 0) {
        if (error)
            *error = QStringLiteral("the JPEG converter failed (code %1)").arg(code);
        return false;
    }
    return true;
}
