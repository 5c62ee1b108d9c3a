#include "platform/qt/qt_picture_files.h"

#include "platform/qt/metafile_client.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/turbo_jpeg_reader.h"

#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

constexpr qint64 kMaxPixels = qint64(kMaxPictureSide) * kMaxPictureSide;

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

QString tooLarge(qint64 width, qint64 height) {
    return QStringLiteral("the picture is %1 × %2 pixels, more than the %3 × %3 this program takes")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide);
}

// The size a BMP or GIF header claims. Qt's BMP reader turns an oversized
// header down without saying why, and its GIF reader does not tell the size
// before decoding, so these two are read here.
std::optional<QSize> headerSize(const QByteArray& head) {
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    if (head.size() >= 10 && (head.startsWith("GIF87a") || head.startsWith("GIF89a")))
        return QSize(qFromLittleEndian<quint16>(p + 6), qFromLittleEndian<quint16>(p + 8));
    if (head.size() < 26 || !head.startsWith("BM"))
        return std::nullopt;
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    if (infoSize == 12)
        return QSize(qFromLittleEndian<quint16>(p + 18), qFromLittleEndian<quint16>(p + 20));
    if (infoSize >= 40) {
        const qint64 w = qAbs(qint64(qFromLittleEndian<qint32>(p + 18)));
        const qint64 h = qAbs(qint64(qFromLittleEndian<qint32>(p + 22)));
        return QSize(int(qMin<qint64>(w, INT_MAX)), int(qMin<qint64>(h, INT_MAX)));
    }
    return std::nullopt;
}

bool isTooLarge(QSize size) {
    return qint64(size.width()) * size.height() > kMaxPixels;
}

bool isAcceptedFormat(const QByteArray& format) {
    // The formats of the open dialog, and PNG, which screenshots often are
    // whatever their name says. Qt's other readers stay out of reach.
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "png";
}

} // namespace

QtPictureFiles::QtPictureFiles(QString metafileHelper)
    : m_metafileHelper(metafileHelper.isEmpty() ? metafileHelperPath()
                                                : std::move(metafileHelper)) {}

Picture QtPictureFiles::loadMetafile(const QString& path, int fd, QString* error) const {
    // The helper opens the file by name; a name that is not valid UTF-8 cannot
    // cross as an argument, so it gets this process's open descriptor instead.
    const QString name = encodeFileName(path) == QFile::encodeName(path)
                             ? path
                             : QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(fd);
    const auto drawing = loadMetafileViaHelper(m_metafileHelper, name, kMetafileTimeoutMs, error);
    if (!drawing)
        return {};
    const Picture picture = Picture::fromSvg(drawing->svg, drawing->frame);
    if (picture.isNull())
        setError(error, QStringLiteral("the metafile's drawing is empty"));
    return picture;
}

Picture QtPictureFiles::load(const QString& path, QString* error) {
    // Opened by bytes, so names that are not valid UTF-8 open too; non-blocking
    // so that a FIFO chosen by mistake cannot hang the window.
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        setError(error, QString::fromLocal8Bit(std::strerror(errno)));
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
        setError(error, S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder, not a file")
                                            : QStringLiteral("it is not an ordinary file"));
        return {};
    }
    if (st.st_size == 0) {
        setError(error, QStringLiteral("the file is empty"));
        return {};
    }

    const QByteArray head = file.peek(64);
    if (looksLikeMetafile(head))
        return loadMetafile(path, fd, error);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    const bool accepted = isAcceptedFormat(format);
    // The header's size first: an absurd one is refused before anything is allocated.
    QSize size = headerSize(head).value_or(QSize());
    if (!size.isValid() && accepted)
        size = reader.size();
    if (size.isValid() && isTooLarge(size)) {
        setError(error, tooLarge(size.width(), size.height()));
        return {};
    }
    if (!accepted) {
        setError(error, QStringLiteral("it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture"));
        return {};
    }
    if (format == "jpeg") {
        if (const auto decoded = decodeJpeg(file, kMaxPixels))
            return Picture::fromImage(*decoded);
    }
    file.seek(0);
    QImageReader fullReader(&file, format);
    const QImage image = fullReader.read();
    if (image.isNull()) {
        setError(error, QStringLiteral("the picture data is damaged or incomplete (%1)")
                            .arg(fullReader.errorString()));
        return {};
    }
    return Picture::fromImage(image);
}

namespace {
// A buffered QSaveFile loses the reason of a failed write ("Unknown error"), and
// an unbuffered file returns short writes: this device gathers the writer's
// lines into large blocks and insists on every byte of them, so the write
// that fails says why. Large pictures are written by a second thread while
// the next lines are encoded.
class WholeWrites final : public QIODevice {
public:
    WholeWrites(QFileDevice& file, bool inBackground) : m_file(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        m_block.reserve(kBlock);
        if (inBackground) {
            try {
                m_writer = std::thread([this] { writeQueued(); });
            } catch (const std::system_error&) {
                // Written in this thread instead.
            }
        }
    }
    ~WholeWrites() override { stopWriter(); }

    /** Writes what is still gathered; false with failure() set when it fails. */
    bool finish() {
        const bool gathered = hand(std::move(m_block));
        stopWriter();
        return gathered && m_failure.isEmpty();
    }
    QString failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_block.size() + size > kBlock) {
            if (!hand(std::move(m_block)))
                return -1;
            m_block = QByteArray();
            m_block.reserve(kBlock);
        }
        m_block.append(data, size);
        return size;
    }

private:
    static constexpr qint64 kBlock = 1 << 20;
    static constexpr std::size_t kQueued = 4;

    bool hand(QByteArray block) {
        if (!m_writer.joinable())
            return put(block);
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [&] { return m_queue.size() < kQueued || m_writeFailed; });
        if (m_writeFailed)
            return false;
        m_queue.push_back(std::move(block));
        m_changed.notify_all();
        return true;
    }

    void writeQueued() {
        for (;;) {
            QByteArray block;
            {
                std::unique_lock lock(m_lock);
                m_changed.wait(lock, [&] { return !m_queue.empty() || m_closing; });
                if (m_queue.empty())
                    return;
                block = std::move(m_queue.front());
                m_queue.pop_front();
                m_changed.notify_all();
            }
            if (!put(block)) {
                std::lock_guard lock(m_lock);
                m_writeFailed = true;
                m_queue.clear();
                m_changed.notify_all();
                return;
            }
        }
    }

    void stopWriter() {
        if (!m_writer.joinable())
            return;
        {
            std::lock_guard lock(m_lock);
            m_closing = true;
            m_changed.notify_all();
        }
        m_writer.join();
    }

    // Called by one thread at a time: the writer thread, or this one without it.
    bool put(const QByteArray& block) {
        qint64 done = 0;
        while (done < block.size()) {
            const qint64 n = m_file.write(block.constData() + done, block.size() - done);
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
    std::thread m_writer;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_queue;
    bool m_closing = false;
    bool m_writeFailed = false;
};

// Below this a second thread costs more than it saves (and Save All already
// keeps the cores busy with whole pictures).
constexpr qsizetype kBackgroundBytes = 32 << 20;

QImage imageToWrite(const Picture& picture, QString* error) {
    QImage image = picture.toImage();
    if (image.isNull() && error)
        *error = picture.isNull() ? QStringLiteral("there is no picture to save")
                                  : QStringLiteral("there is not enough memory to decode the picture");
    return image;
}

bool encodeBmp(const QImage& image, QFileDevice& file, QString* error) {
    WholeWrites device(file, image.sizeInBytes() >= kBackgroundBytes);
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
