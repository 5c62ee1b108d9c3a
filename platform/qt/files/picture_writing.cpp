// Writing pictures as BMP files: a file the user saves, which replaces its target only
// once whole and on the disk, and the intermediate file the JPEG converter reads.
#include "platform/paths.h"
#include "platform/qt/files/direct_bmp.h"
#include "platform/qt/files/qt_file_system.h"
#include "platform/qt/files/qt_picture_files.h"
#include "platform/qt/files/system_error.h"
#include "platform/qt/files/whole_writes.h"
#include "platform/temporary_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <climits>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Below this a second thread costs more than it saves (and Save All already
// keeps the cores busy with whole pictures).
constexpr qsizetype kBackgroundBytes = 32 << 20;

QImage imageToWrite(const Picture& picture, QString* error) {
    QImage image = picture.toImage();
    if (image.isNull() && error)
        *error = picture.isNull()
                     ? QCoreApplication::translate("Pictures", "there is no picture to save")
                     : QCoreApplication::translate(
                           "Pictures", "there is not enough memory to decode the picture");
    return image;
}

bool encodeBmp(const QImage& image, QFileDevice& file, QString* error) {
    WholeWrites device(file, image.sizeInBytes() >= kBackgroundBytes);
    if (image.save(&device, "BMP") && device.finish())
        return true;
    if (error)
        *error = !device.failure().isEmpty()
                     ? device.failure()
                     : QCoreApplication::translate("Pictures", "the picture could not be encoded");
    return false;
}
} // namespace

namespace {
bool writeQtBmp(const QImage& image, int fd, QString* error) {
    QFile file;
    return file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                     QFileDevice::DontCloseHandle) &&
           encodeBmp(image, file, error);
}

// Writes image as a new BMP file at path, opened by its bytes (so any name the program can
// show, it can write) and never over a file already there; a failure leaves no file. write
// puts the picture into the open file.
bool writeNewBmp(const std::function<bool(int fd, QString* error)>& write, const QByteArray& path,
                 std::optional<mode_t> mode, bool sync, QString* error) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        setError(error, systemError());
        return false;
    }
    bool written = true;
    if (mode && ::fchmod(fd, *mode) != 0) {
        setError(error, systemError());
        written = false;
    }
    written = written && write(fd, error);
    if (written && sync && ::fsync(fd) != 0) {
        setError(error, systemError());
        written = false;
    }
    if (::close(fd) != 0 && written) {
        setError(error, systemError());
        written = false;
    }
    if (!written)
        ::unlink(path.constData());
    return written;
}

// QSaveFile's temporary is the target's name with a suffix of seven bytes.
constexpr qsizetype kLongestSaveFileName = NAME_MAX - 7;

bool writeBmpSafely(const QImage& image, const QString& target, QString* error) {
    QSaveFile file(target);
    // Unbuffered: the writes come in whole blocks already, and fail where they are made.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setError(error, file.errorString());
        return false;
    }
    if (!encodeBmp(image, file, error))
        return false; // the temporary goes with the file
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}
} // namespace

bool QtPictureFiles::writeBmp(const Picture& picture, const QString& path, QString* error) {
    // Through a link, the file it leads to is replaced, in its own folder.
    const QString target = resolveSaveTarget(path, error);
    if (target.isEmpty())
        return false;
    const QImage image = imageToWrite(picture, error);
    if (image.isNull())
        return false;
    const QString folder = paths::folderOf(target);
    removeOwnLeftovers(folder);
    // Written beside the target and renamed over it once complete and on the disk, so a
    // failed or interrupted write never leaves a broken file under the user's name.
    const QByteArray targetBytes = encodeFileName(target);
    // QSaveFile spells names as text: a name that is not, or that leaves no room for its
    // temporary's suffix, is written the program's own way below.
    if (QFile::encodeName(target) == targetBytes &&
        targetBytes.size() - targetBytes.lastIndexOf('/') - 1 <= kLongestSaveFileName)
        return writeBmpSafely(image, target, error);
    std::optional<mode_t> mode;
    struct stat st {};
    if (::stat(targetBytes.constData(), &st) == 0)
        mode = st.st_mode & 07777;
    const QByteArray temporary = encodeFileName(QtFileSystem().uniqueName(
        folder, QString::fromLatin1(kTemporaryPrefix), QString::fromLatin1(kTemporarySuffix)));
    if (!writeNewBmp([&image](int fd, QString* e) { return writeQtBmp(image, fd, e); }, temporary,
                     mode, true, error))
        return false;
    if (::rename(temporary.constData(), targetBytes.constData()) != 0) {
        setError(error, systemError());
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

bool QtPictureFiles::writeIntermediateBmp(const Picture& picture, const QString& path,
                                          QString* error) {
    removeOwnLeftovers(paths::folderOf(path));
    // No sync: it is read at once and then removed. The usual 32-bit picture goes as it is,
    // its unused byte and all, which the converter reads as fast; one held packed, a band at
    // a time, never unpacked whole.
    if (const auto packed = picture.packedForm(); packed && writesAsItIs(*packed))
        return writeNewBmp([&packed](int fd, QString* e) { return writeDirectBmp(fd, *packed, e); },
                           encodeFileName(path), std::nullopt, false, error);
    const QImage image = imageToWrite(picture, error);
    if (image.isNull())
        return false;
    return writeNewBmp(
        [&image](int fd, QString* e) {
            return writesAsItIs(image) ? writeDirectBmp(fd, image, e) : writeQtBmp(image, fd, e);
        },
        encodeFileName(path), std::nullopt, false, error);
}
