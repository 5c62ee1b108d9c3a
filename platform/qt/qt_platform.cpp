#include "platform/qt/qt_platform.h"

#include "pictures/picture_bounds.h"

#include <QImageReader>

QtPlatform::QtPlatform()
    : converter(QtConverter::defaultLibraryPath()),
      m_platform{clipboard, clock, files, pictures, dialogs, messages, shell, printer, converter} {}

QIcon appIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictavo/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/pictavo/icon16.png"), QSize(16, 16));
    return icon;
}

void configureImageLimits() {
    // In megabytes. Qt counts the pixels its reader decodes to, and those may be wider than
    // the program's: 16-bit PNG gives 8 bytes a pixel, a floating-point TIFF 16. Every picture
    // within the program's bound must get past Qt's limit to reach the program's own checks.
    constexpr long long kWidestPixelBytes = 16;
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * kWidestPixelBytes / (1024 * 1024)));
}
