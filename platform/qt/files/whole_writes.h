// The device that BMP files are written through.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QIODevice>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

// A buffered file device loses the reason of a failed write ("Unknown error"), and
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
