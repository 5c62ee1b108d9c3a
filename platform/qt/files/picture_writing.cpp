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
#include <memory>
#include <optional>
#include <utility>
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

namespace {
// The converter's file: unnamed (O_TMPFILE) where the file system allows, so that it goes when
// it is closed even from a folder made read-only or removed meanwhile; elsewhere a hidden name
// of the program's own pattern, removed again.
class WrittenBmp final : public IntermediateBmp {
public:
    WrittenBmp(int fd, QByteArray name) : m_fd(fd), m_name(std::move(name)) {
        if (m_name.isEmpty())
            m_name = "/proc/self/fd/" + QByteArray::number(fd);
        m_unnamed = m_name.startsWith("/proc/self/fd/");
    }
    ~WrittenBmp() override {
        ::close(m_fd);
        if (!m_unnamed && !m_kept)
            ::unlink(m_name.constData());
    }
    QString path() const override { return decodeFileName(m_name); }
    /** Holds the written file for reading only, so that no write of the program's
        stands in the way of its folder being made read-only meanwhile. */
    bool settle(QString* error) {
        const int reading = ::open(m_name.constData(), O_RDONLY | O_CLOEXEC);
        if (reading < 0) {
            setError(error, systemError());
            return false;
        }
        const int writing = std::exchange(m_fd, reading);
        if (::close(writing) != 0) {
            setError(error, systemError());
            return false;
        }
        if (m_unnamed)
            m_name = "/proc/self/fd/" + QByteArray::number(m_fd);
        return true;
    }
    bool keepAs(const QString& name, QString* error) override {
        const QByteArray to = encodeFileName(name);
        // Never over a file there: link, which refuses, and then let go of the old name.
        if (::linkat(AT_FDCWD, m_name.constData(), AT_FDCWD, to.constData(),
                     m_unnamed ? AT_SYMLINK_FOLLOW : 0) != 0) {
            setError(error, systemError());
            return false;
        }
        if (!m_unnamed)
            ::unlink(m_name.constData());
        m_kept = true;
        return true;
    }

private:
    int m_fd;
    QByteArray m_name;
    bool m_unnamed = false;
    bool m_kept = false;
};

// Opens the converter's file in folder: unnamed where possible; name is empty then.
int openIntermediate(const QString& folder, QByteArray* name, QString* error) {
    QByteArray dir = encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder);
    int fd = ::access("/proc/self/fd", X_OK) == 0
                 ? ::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                 : (errno = EOPNOTSUPP, -1);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        if (fd < 0)
            setError(error, systemError());
        return fd;
    }
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        *name = encodeFileName(QtFileSystem().uniqueName(folder,
                                                         QString::fromLatin1(kTemporaryPrefix),
                                                         QString::fromLatin1(kTemporarySuffix)));
        fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        setError(error, systemError());
    return fd;
}
} // namespace

std::unique_ptr<IntermediateBmp> QtPictureFiles::writeIntermediateBmp(const Picture& picture,
                                                                      const QString& folder,
                                                                      QString* error) {
    removeOwnLeftovers(folder);
    QByteArray name;
    const int fd = openIntermediate(folder, &name, error);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<WrittenBmp> bmp;
    try {
        bmp = std::make_unique<WrittenBmp>(fd, name);
    } catch (...) {
        ::close(fd);
        if (!name.isEmpty())
            ::unlink(name.constData());
        throw;
    }
    // Owned from here: a failure or a throw below closes it, and a named one goes.
    // No sync: it is read at once and then removed. The usual 32-bit picture goes as it is,
    // its unused byte and all, which the converter reads as fast; one held packed, a band at
    // a time, never unpacked whole.
    bool written = false;
    if (const auto packed = picture.packedForm(); packed && writesAsItIs(*packed)) {
        written = writeDirectBmp(fd, *packed, error);
    } else {
        const QImage image = imageToWrite(picture, error);
        written = !image.isNull() && (writesAsItIs(image) ? writeDirectBmp(fd, image, error)
                                                          : writeQtBmp(image, fd, error));
    }
    return written && bmp->settle(error) ? std::move(bmp) : nullptr;
}
