#include "platform/gallery_view.h"

#include <QCoreApplication>

QString pictureSizeText(const Picture& picture) {
    if (picture.isEmpty())
        return {};
    return QCoreApplication::translate("Pictures", "%1 × %2 pixels")
        .arg(picture.width())
        .arg(picture.height());
}
