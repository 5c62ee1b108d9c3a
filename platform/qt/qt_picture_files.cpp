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

namespace {
// A buffered QSaveFile loses the reason of a failed write ("Unknown error"), and
// an unbuffered one returns short writes: this device insists on every byte of
// an unbuffered file, so the write that fails says why.
class WholeWrites final : public QIODevice {
public:
    explicit WholeWrites(QFileDevice& file) : m_file(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    QString failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        qint64 done = 0;
        while (done < size) {
            const qint64 n = m_file.write(data + done, size - done);
            if (n <= 0) {
                m_failure = m_file.errorString();
                return -1;
            }
            done += n;
        }
        return size;
    }

private:
    QFileDevice& m_file;
    QString m_failure;
};
} // namespace

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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    WholeWrites device(file);
    if (!image.save(&device, "BMP")) {
        if (error)
            *error = !device.failure().isEmpty() ? device.failure()
                                                 : QStringLiteral("the picture could not be encoded");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
