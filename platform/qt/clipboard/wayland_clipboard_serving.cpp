// Our own copy on the Wayland selection, served from memory to every program that pastes it.
#include "platform/qt/clipboard/wayland_clipboard_session.h"

#include <QBuffer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* kOwnType = "image/png";
// Readers of our own copy served at once; more are turned away.
constexpr size_t kMostWrites = 128;

} // namespace

void WaylandClipboardReader::Session::setImage(const QImage& image) {
    if (!ok() || image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    void* source = m_protocol->createSource(m_manager, this);
    m_protocol->offerType(source, kOwnType);
    m_sources.push_back(source);
    // A source replaced here is cancelled by the compositor and destroyed then.
    m_ownSource = source;
    m_ownImage = image;
    m_ownPng = png;
    m_protocol->setSelection(m_device, source);
    flush();
}

void WaylandClipboardReader::Session::send(void* source, const char* mimeType, int fd) {
    // Every reader holds a descriptor until served: a flood of them must not use up ours,
    // the next message with a descriptor would then cost the connection.
    if (source != m_ownSource || std::strcmp(mimeType, kOwnType) != 0 ||
        m_writes.size() >= kMostWrites) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    Write w{fd, m_ownPng, 0, {}};
    w.sinceProgress.start();
    m_writes.push_back(std::move(w));
}

void WaylandClipboardReader::Session::cancelled(void* source) {
    if (source == m_ownSource) {
        m_ownSource = nullptr;
        m_ownImage = QImage();
        m_ownPng.clear();
    }
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
    m_protocol->destroySource(source);
}

void WaylandClipboardReader::Session::serveWrites(const std::vector<pollfd>& fds, size_t first,
                                                  size_t polled) {
    std::vector<Write> still;
    for (size_t i = 0; i < m_writes.size(); ++i) {
        Write& w = m_writes[i];
        bool keep = true;
        if (i < polled && (fds[first + i].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = ::write(w.fd, w.data.constData() + w.done,
                                      size_t(std::min<qsizetype>(w.data.size() - w.done, 1 << 20)));
            if (n > 0) {
                w.done += n;
                w.sinceProgress.restart();
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                keep = false; // the reader went away
            }
        }
        if (w.done == w.data.size() || w.sinceProgress.elapsed() > m_limits.stallMs)
            keep = false;
        if (keep)
            still.push_back(std::move(w));
        else
            ::close(w.fd);
    }
    m_writes = std::move(still);
}
