#include "platform/qt/clipboard/x11_clipboard_reader.h"

#include "platform/qt/clipboard/x11_clipboard_connection.h"

#include <QMetaObject>
#include <algorithm>

X11ClipboardReader::X11ClipboardReader() : X11ClipboardReader(Limits{}) {}

X11ClipboardReader::X11ClipboardReader(Limits limits, const X11Presses* presses)
    : m_limits(limits), m_x(std::make_unique<Connection>(limits, presses)) {
    if (m_x->ok())
        m_thread = std::thread([this] { run(); });
}

X11ClipboardReader::~X11ClipboardReader() {
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    // A look in progress notices m_stop within its poll interval.
    if (m_thread.joinable())
        m_thread.join();
}

bool X11ClipboardReader::isConnected() const {
    return m_x->ok();
}

void X11ClipboardReader::setBeforeEmptying(std::function<void()> hook) {
    m_beforeEmptying = std::move(hook);
}

void X11ClipboardReader::clearIfUnchanged(std::uint64_t ownership) {
    post([this, ownership](Connection& x) { x.disownIf(ownership, m_stop, m_beforeEmptying); });
}

void X11ClipboardReader::noteTaken(std::uint64_t ownership) {
    post([ownership](Connection& x) { x.noteTaken(ownership); });
}

void X11ClipboardReader::look(bool readImage, std::function<void(ClipboardContent)> done) {
    if (!m_x->ok()) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(ClipboardContent{}); }, Qt::QueuedConnection);
        return;
    }
    post([this, readImage, done = std::move(done)](Connection& x) mutable {
        m_retryAt.reset(); // this look is the look again
        ClipboardContent content = x.look(readImage, m_stop);
        scheduleRetry(x, x.lateOwnership());
        // Queued to this object: dropped if the reader is gone by then.
        QMetaObject::invokeMethod(
            this, [done = std::move(done), content = std::move(content)] { done(content); },
            Qt::QueuedConnection);
    });
}

void X11ClipboardReader::post(Job job) {
    if (!m_x->ok())
        return;
    {
        std::lock_guard lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void X11ClipboardReader::scheduleRetry(Connection& x, std::uint64_t lateOwnership) {
    if (lateOwnership == 0)
        return;
    const int backoff = retryBackoffMs(m_limits, x.lateLooks());
    m_retryOwnership = lateOwnership;
    m_retryAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(backoff);
}

void X11ClipboardReader::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_lock);
            const auto ready = [this] { return m_stop || !m_jobs.empty(); };
            if (m_retryAt)
                m_wake.wait_until(lock, *m_retryAt, ready);
            else
                m_wake.wait(lock, ready);
            if (m_stop)
                return;
            if (!m_jobs.empty()) {
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            } else if (m_retryAt && std::chrono::steady_clock::now() >= *m_retryAt) {
                m_retryAt.reset();
                job = [this](Connection& x) {
                    // Only while the slow owner still holds the clipboard.
                    if (x.currentOwnership(m_stop) == m_retryOwnership)
                        QMetaObject::invokeMethod(
                            this, [this] { emit lookAgainWanted(); }, Qt::QueuedConnection);
                };
            }
        }
        if (job)
            job(*m_x);
    }
}
