#include "platform/qt/files/qt_picture_files.h"

#include "pictures/encoded_image.h"
#include "pictures/jpeg_decoding.h"
#include "pictures/picture_bounds.h"
#include "pictures/picture_headers.h"
#include "platform/qt/files/metafile_client.h"
#include "platform/qt/files/qt_file_system.h"
#include "platform/qt/files/system_error.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tooLarge(qint64 width, qint64 height) {
    return QCoreApplication::translate(
               "Pictures", "the picture is %1 × %2 pixels, more than this program takes "
                           "(%3 pixels a side, %4 million pixels in all)")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide)
        .arg(kMaxPicturePixels / 1000000);
}

bool isTooLarge(QSize size) {
    return !isWithinPictureBounds(size.width(), size.height());
}

// The header was checked against the file as it was before the read: a file cut short or
// rewritten since may have fed the decoder other bytes than it promised.
bool changedSince(int fd, const struct stat& before) {
    struct stat now {};
    return ::fstat(fd, &now) != 0 || now.st_size != before.st_size ||
           now.st_mtim.tv_sec != before.st_mtim.tv_sec ||
           now.st_mtim.tv_nsec != before.st_mtim.tv_nsec ||
           now.st_ctim.tv_sec != before.st_ctim.tv_sec ||
           now.st_ctim.tv_nsec != before.st_ctim.tv_nsec;
}

// Files up to this size are read into memory once and held as they are where
// that is smaller; larger ones are streamed to Qt's reader.
constexpr qint64 kMaxInMemory = qint64(256) * 1024 * 1024;
QString damaged(const QString& reason) {
    return QCoreApplication::translate("Pictures", "the picture data is damaged or incomplete (%1)")
        .arg(reason);
}

/** A JPEG that TurboJPEG takes, held as its bytes; the first decode, scaled,
    still reads every byte, so a damaged file is refused now, not at its first use. */
Picture loadJpeg(const QByteArray& bytes, QSize size, QString* error) {
    QString damage;
    const QImage first = decodeJpeg(bytes, jpegScaleCovering(size, kJpegPreviewCover), &damage);
    if (first.isNull()) {
        setError(error, damage.isEmpty()
                            ? QCoreApplication::translate(
                                  "Pictures", "there is not enough memory for the picture")
                            : damaged(damage));
        return {};
    }
    return Picture::fromFile(
        std::make_shared<const EncodedImage>(bytes, "jpeg", size, EncodedImage::Decoder::TurboJpeg),
        first);
}

// Why a JPEG is refused before Qt's reader or TurboJPEG decodes it, or "". A file
// too large to be read into memory is looked at through a mapping of it. A JPEG
// whose header TurboJPEG has read is known not to be CMYK.
QString jpegRefusal(QIODevice& device, const QByteArray& bytes, qint64 fileSize, bool mayBeCmyk) {
    QByteArray whole = bytes;
    auto* file = qobject_cast<QFileDevice*>(&device);
    uchar* mapped = bytes.isEmpty() && file ? file->map(0, fileSize) : nullptr;
    if (mapped)
        whole = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), fileSize);
    QString refusal;
    if (bytes.isEmpty() && !mapped) {
        refusal =
            damaged(QCoreApplication::translate("Pictures", "its scans could not be counted"));
    } else if (const std::optional<int> scans = jpegScanCount(whole, kMaxJpegScans); !scans) {
        refusal =
            damaged(QCoreApplication::translate("Pictures", "a marker that no JPEG decoder takes"));
    } else if (*scans > kMaxJpegScans) {
        // Every scan is a pass over the whole picture, in whichever decoder; Qt's
        // reader, which takes CMYK, has no limit of its own.
        refusal = damaged(
            QCoreApplication::translate("Pictures", "more than %1 scans").arg(kMaxJpegScans));
    } else if (const QString damage = mayBeCmyk ? cmykJpegDamage(whole) : QString();
               !damage.isEmpty()) {
        refusal = damaged(damage);
    }
    whole = QByteArray();
    if (mapped)
        file->unmap(mapped);
    return refusal;
}

// Up to size bytes from the start of the file, straight into the array that holds
// them; fewer when the file was cut meanwhile. Null, with the reason, when the read fails.
QByteArray readWhole(int fd, qint64 size, QString* error) {
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            setError(error, QString::fromLocal8Bit(std::strerror(errno)));
            return {};
        }
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

bool isAcceptedFormat(const QByteArray& format) {
    // The formats of the open dialog, and PNG, which screenshots often are
    // whatever their name says. Qt's other readers stay out of reach.
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "png";
}

} // namespace

QtPictureFiles::QtPictureFiles(QString metafileHelper, int metafileTimeoutMs)
    : m_metafileHelper(metafileHelper.isEmpty() ? metafileHelperPath() : std::move(metafileHelper)),
      m_metafileTimeoutMs(metafileTimeoutMs) {}

Picture QtPictureFiles::loadMetafile(const QString& path, int fd, QString* error) const {
    // The helper opens the file by name; a name that is not valid UTF-8 cannot
    // cross as an argument, so it gets this process's open descriptor instead.
    const QString name = encodeFileName(path) == QFile::encodeName(path)
                             ? path
                             : QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(fd);
    const auto drawing = loadMetafileViaHelper(m_metafileHelper, name, m_metafileTimeoutMs, error);
    if (!drawing)
        return {};
    const Picture picture = Picture::fromSvg(drawing->svg, drawing->frame);
    if (picture.isNull())
        setError(error, QCoreApplication::translate("Pictures", "the metafile's drawing is empty"));
    return picture;
}

Picture QtPictureFiles::load(const QString& path, QString* error) {
    // A file still being written is read again once it has settled; one that keeps changing
    // is refused rather than shown with parts it never had.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool changed = false;
        Picture picture = loadOnce(path, error, &changed);
        if (!changed)
            return picture;
    }
    setError(error, QCoreApplication::translate("Pictures", "the file changed while it was read"));
    return {};
}

Picture QtPictureFiles::loadOnce(const QString& path, QString* error, bool* changed) {
    // Opened by bytes, so names that are not valid UTF-8 open too; non-blocking
    // so that a FIFO chosen by mistake cannot hang the window.
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        setError(error, systemError());
        return {};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, file.errorString());
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        setError(error,
                 S_ISDIR(st.st_mode)
                     ? QCoreApplication::translate("Pictures", "it is a folder, not a file")
                     : QCoreApplication::translate("Pictures", "it is not an ordinary file"));
        return {};
    }
    if (st.st_size == 0) {
        setError(error, QCoreApplication::translate("Pictures", "the file is empty"));
        return {};
    }
    if (looksLikeMetafile(file.peek(64)))
        return loadMetafile(path, fd, error);
    if (st.st_size > kMaxInMemory) {
        Picture picture = loadRaster(file, QByteArray(), st.st_size, error);
        if ((*changed = changedSince(fd, st)))
            return {};
        return picture;
    }
    // Read once: the picture is checked, decoded and held from these bytes,
    // whatever becomes of the file afterwards.
    QByteArray bytes = readWhole(fd, st.st_size, error);
    if (bytes.isNull())
        return {};
    if ((*changed = bytes.size() != st.st_size || changedSince(fd, st)))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return loadRaster(buffer, bytes, bytes.size(), error);
}

Picture QtPictureFiles::loadRaster(QIODevice& file, const QByteArray& bytes, qint64 fileSize,
                                   QString* error) {
    const QByteArray head = file.peek(64);
    // A JPEG in memory whose header TurboJPEG reads needs no probe by Qt's readers,
    // which would read that header again: most files of a folder are such.
    const QSize jpegSize = !bytes.isEmpty() && head.startsWith("\xFF\xD8\xFF")
                               ? turboJpegSize(bytes).value_or(QSize())
                               : QSize();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = jpegSize.isValid() ? QByteArrayLiteral("jpeg") : reader.format();
    const bool accepted = isAcceptedFormat(format);
    // The header's size first: an absurd one is refused before anything is allocated.
    QSize size = jpegSize.isValid() ? jpegSize : headerSize(head).value_or(QSize());
    if (!size.isValid() && accepted)
        size = reader.size();
    // A picture without a side is damaged, not too large.
    if (size.isValid() && size.isEmpty()) {
        setError(error,
                 damaged(QCoreApplication::translate("Pictures", "the picture is %1 × %2 pixels")
                             .arg(size.width())
                             .arg(size.height())));
        return {};
    }
    if (size.isValid() && isTooLarge(size)) {
        setError(error, tooLarge(size.width(), size.height()));
        return {};
    }
    if (!accepted) {
        setError(error, QCoreApplication::translate(
                            "Pictures", "it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture"));
        return {};
    }
    if (const QString cut = cutShort(format, head, size, file, fileSize); !cut.isEmpty()) {
        setError(error, cut);
        return {};
    }
    if (format == "jpeg") {
        if (const QString refused = jpegRefusal(file, bytes, fileSize, !jpegSize.isValid());
            !refused.isEmpty()) {
            setError(error, refused);
            return {};
        }
        if (jpegSize.isValid())
            return loadJpeg(bytes, jpegSize, error);
    }
    file.seek(0);
    QImageReader fullReader(&file, format);
    const QImage image = fullReader.read();
    if (image.isNull()) {
        setError(error, damaged(fullReader.errorString()));
        return {};
    }
    if (bytes.isEmpty())
        return Picture::fromImage(image);
    auto held = std::make_shared<const EncodedImage>(bytes, format, image.size(),
                                                     EncodedImage::Decoder::Qt);
    // A GIF, and a JPEG in CMYK, are held as their files; other files where
    // their bytes are fewer than the packed form's.
    if (format == "gif" || format == "jpeg")
        return Picture::fromFile(std::move(held), image);
    return Picture::fromImage(image, std::move(held));
}
