#include "platform/qt/clipboard/wayland_clipboard_reader.h"

#include "platform/qt/clipboard/wayland_clipboard_session.h"
#include "platform/qt/qt_log.h"

#include <QMetaObject>
#include <algorithm>
#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

WaylandClipboardReader::WaylandClipboardReader() : WaylandClipboardReader(Limits{}) {}

WaylandClipboardReader::WaylandClipboardReader(Limits limits) : m_limits(limits) {
    m_session = openSession();
    if (!m_session->ok())
        return;
    m_protocolName = m_session->protocolName();
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

void WaylandClipboardReader::look(bool readImage, bool quick,
                                  std::function<void(ClipboardContent)> done) {
    if (!isAvailable()) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(ClipboardContent{}); }, Qt::QueuedConnection);
        return;
    }
    post([this, readImage, quick, done = std::move(done)](Session& s) mutable {
        ClipboardContent content = s.look(readImage, quick);
        // Queued to this object: dropped if the reader is gone by then.
        QMetaObject::invokeMethod(
            this, [done = std::move(done), content = std::move(content)] { done(content); },
            Qt::QueuedConnection);
    });
}

void WaylandClipboardReader::clearIfUnchanged(std::uint64_t ownership) {
    post([ownership](Session& s) { s.clearIf(ownership); });
}

void WaylandClipboardReader::noteTaken(std::uint64_t ownership) {
    post([ownership](Session& s) { s.noteTaken(ownership); });
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

std::unique_ptr<WaylandClipboardReader::Session> WaylandClipboardReader::openSession() {
    return std::make_unique<Session>(m_limits, m_stop, [this] {
        QMetaObject::invokeMethod(
            this, [this] { emit changed(); }, Qt::QueuedConnection);
    });
}

bool WaylandClipboardReader::reconnectWhenDue() {
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (m_lostAt == steady_clock::time_point{}) {
        m_lostAt = now;
        m_nextAttempt = now + milliseconds(kFirstRetryMs);
        m_retryMs = kFirstRetryMs;
        // Said once a loss, not once a retry: a compositor may drop us again and again
        // while the offer that made it do so stays on its selection.
        if (now - m_connectedAt > seconds(kSettledS))
            qCWarning(lcPictavo, "the compositor closed the clipboard connection; reconnecting");
    }
    if (now < m_nextAttempt)
        return false;
    // The compositor dropped our copy with us; it is offered again where nothing replaced it.
    if (m_lostOwnImage.isNull())
        m_lostOwnImage = m_session->ownImage();
    // Jobs only ever run on this thread: none holds the old session now.
    m_session.reset();
    m_session = openSession();
    m_retryMs = std::min(m_retryMs * 2, kLongestRetryMs);
    m_nextAttempt = steady_clock::now() + milliseconds(m_retryMs);
    if (!m_session->ok())
        return false;
    // The new connection announces the current selection, which is then looked at.
    m_lostAt = {};
    m_connectedAt = steady_clock::now();
    if (!m_lostOwnImage.isNull() && m_session->selectionEmpty())
        m_session->setImage(m_lostOwnImage);
    m_lostOwnImage = QImage();
    return true;
}

void WaylandClipboardReader::waitForRetry() {
    using namespace std::chrono;
    const auto left = duration_cast<milliseconds>(m_nextAttempt - steady_clock::now()).count();
    pollfd pfd{m_wakeFd, POLLIN, 0};
    if (left > 0 && ::poll(&pfd, 1, int(left)) > 0) {
        eventfd_t ignored;
        eventfd_read(m_wakeFd, &ignored);
    }
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
        if (m_stop)
            break;
        // Without a connection, jobs are answered as for an empty selection until the
        // next attempt.
        if (m_session->ok() || reconnectWhenDue())
            m_session->wait(m_wakeFd);
        else
            waitForRetry();
        // Drop the signals our writes raised while blocked.
        const timespec now{0, 0};
        while (sigtimedwait(&pipe, nullptr, &now) > 0) {
        }
    }
}
