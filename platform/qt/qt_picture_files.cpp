#include "platform/qt/qt_picture_files.h"

#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

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
        *error = QStringLiteral("there is no picture to save");
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
