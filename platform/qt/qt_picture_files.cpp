#include "platform/qt/qt_picture_files.h"

#include <QImageReader>
#include <QSaveFile>

Picture QtPictureFiles::load(const QString& path, QString* error) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return {};
    }
    return Picture::fromImage(image);
}

bool QtPictureFiles::writeBmp(const Picture& picture, const QString& path, QString* error) {
    const QImage image = picture.toImage();
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("there is no picture to save");
        return false;
    }
    // QSaveFile writes beside the target and renames on commit, so a failed
    // write never leaves a broken file under the user's name.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!image.save(&file, "BMP")) {
        if (file.error() == QFileDevice::NoError) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("the picture could not be encoded");
            return false;
        }
        // After a failed write, commit() only removes the temporary file, and it
        // names the device's reason ("No space left on device"), which the
        // failed write leaves as "Unknown error".
        file.commit();
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
