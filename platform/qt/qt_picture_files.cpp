#include "platform/qt/qt_picture_files.h"

#include <QFile>
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
// an unbuffered file returns short writes: this device gathers the writer's
// lines into large blocks and insists on every byte of them, so the write
// that fails says why.
class WholeWrites final : public QIODevice {
public:
    explicit WholeWrites(QFileDevice& file) : m_file(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        m_block.reserve(kBlock);
    }
    /** Writes what is still gathered; false with failure() set when it fails. */
    bool finish() { return put(m_block.constData(), m_block.size()); }
    QString failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_block.size() + size > kBlock) {
            if (!finish())
                return -1;
            m_block.clear();
        }
        if (size >= kBlock)
            return put(data, size) ? size : -1;
        m_block.append(data, size);
        return size;
    }

private:
    static constexpr qint64 kBlock = 1 << 20;

    bool put(const char* data, qint64 size) {
        qint64 done = 0;
        while (done < size) {
            const qint64 n = m_file.write(data + done, size - done);
            if (n <= 0) {
                m_failure = m_file.errorString();
                return false;
            }
            done += n;
        }
        return true;
    }

    QFileDevice& m_file;
    QByteArray m_block;
    QString m_failure;
};

QImage imageToWrite(const Picture& picture, QString* error) {
    QImage image = picture.toImage();
    if (image.isNull() && error)
        *error = QStringLiteral("there is no picture to save");
    return image;
}

bool encodeBmp(const QImage& image, QFileDevice& file, QString* error) {
    WholeWrites device(file);
    if (image.save(&device, "BMP") && device.finish())
        return true;
    if (error)
        *error = !device.failure().isEmpty() ? device.failure()
                                             : QStringLiteral("the picture could not be encoded");
    return false;
}
} // namespace

bool QtPictureFiles::writeBmp(const Picture& picture, const QString& path, QString* error) {
    const QImage image = imageToWrite(picture, error);
    if (image.isNull())
        return false;
    // QSaveFile writes beside the target and renames on commit, so a failed
    // write never leaves a broken file under the user's name.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!encodeBmp(image, file, error)) {
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

bool QtPictureFiles::writeIntermediateBmp(const Picture& picture, const QString& path,
                                          QString* error) {
    const QImage image = imageToWrite(picture, error);
    if (image.isNull())
        return false;
    // A new file only, never one that appeared under this name meanwhile; no
    // sync, as it is read at once and then removed.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!encodeBmp(image, file, error)) {
        file.close();
        file.remove();
        return false;
    }
    file.close();
    return true;
}
