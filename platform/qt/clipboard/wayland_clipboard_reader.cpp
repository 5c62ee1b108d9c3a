#include "platform/qt/clipboard/wayland_clipboard_reader.h"

#include "platform/qt/clipboard/wayland_clipboard_session.h"

#include <QMetaObject>
#include <csignal>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

WaylandClipboardReader::WaylandClipboardReader() : WaylandClipboardReader(Limits{}) {}

WaylandClipboardReader::WaylandClipboardReader(Limits limits) : m_limits(limits) {
    m_session = std::make_unique<Session>(m_limits, m_stop, [this] {
        QMetaObject::invokeMethod(
            this, [this] { emit changed(); }, Qt::QueuedConnection);
    });
    if (!m_session->ok())
        return;
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd >= 0)
        m_thread = std::thread([this] { run(); });
}

WaylandClipboardReader::~WaylandClipboardReader() {
    m_stop = true;
    if (m_wakeFd >= 0)
        eventfd_write(m_wakeFd, 1);
    // A look in progress notices m_stop within its poll interval.
    if (m_thread.joinable())
        m_thread.join();
    m_session.reset();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool WaylandClipboardReader::isAvailable() const {
    return m_thread.joinable();
}

void WaylandClipboardReader::look(bool readImage, std::function<void(ClipboardContent)> done) {
    if (!isAvailable()) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(ClipboardContent{}); }, Qt::QueuedConnection);
        return;
    }
    post([this, readImage, done = std::move(done)](Session& s) mutable {
        ClipboardContent content = s.look(readImage);
        // Queued to this object: dropped if the reader is gone by then.
        QMetaObject::invokeMethod(
            this, [done = std::move(done), content = std::move(content)] { done(content); },
            Qt::QueuedConnection);
    });
}

void WaylandClipboardReader::clearIfUnchanged(std::uint64_t ownership) {
    post([ownership](Session& s) { s.clearIf(ownership); });
}

void WaylandClipboardReader::clear() {
    post([](Session& s) { s.clear(); });
}

void WaylandClipboardReader::setImage(const QImage& image) {
    post([image](Session& s) { s.setImage(image); });
}

void WaylandClipboardReader::post(Job job) {
    if (!isAvailable())
        return;
    {
        std::lock_guard lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    eventfd_write(m_wakeFd, 1);
}

void WaylandClipboardReader::run() {
    // A reader of our picture that goes away must not end the program.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    while (!m_stop) {
        std::deque<Job> jobs;
        {
            std::lock_guard lock(m_lock);
            jobs.swap(m_jobs);
        }
        for (Job& job : jobs) {
            if (m_stop)
                return;
            job(*m_session);
        }
        if (!m_stop)
            m_session->wait(m_wakeFd);
        // Drop the signals our writes raised while blocked.
        const timespec now{0, 0};
        while (sigtimedwait(&pipe, nullptr, &now) > 0) {
        }
    }
}
