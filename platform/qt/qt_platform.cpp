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
    // In megabytes, for 32-bit pixels.
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
}
