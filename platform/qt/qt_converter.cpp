#include "platform/qt/qt_converter.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

QString QtConverter::defaultLibraryPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libpictavo_jpeg.so");
}

bool QtConverter::BmpToJpeg(const QString& bmpPath, const QString& jpegPath, int setting) {
    using Fn = int (*)(const char*, const char*, int);
    QLibrary library(m_libraryPath);
    auto fn = reinterpret_cast<Fn>(library.resolve("BmpToJpeg"));
    if (!fn)
        return false;
    return fn(QFile::encodeName(bmpPath).constData(), QFile::encodeName(jpegPath).constData(),
              setting) == 0;
}
