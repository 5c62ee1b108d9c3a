#include "platform/qt/clipboard/wayland_clipboard_session.h"

#include "pictures/pixel_fingerprint.h"
#include "platform/qt/clipboard/clipboard_image.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace {

// How long the connection may stay silent before we ask the compositor for a sign of life.
constexpr int kKeepAliveMs = 1000;

} // namespace

using data_control::kProtocols;

WaylandClipboardReader::Session::Session(const Limits& limits, const std::atomic<bool>& stop,
                                         std::function<void()> changed)
    : m_limits(limits), m_stop(stop), m_changed(std::move(changed)) {
    m_display = wl_display_connect(nullptr);
    if (!m_display)
        return;
    m_registry = wl_display_get_registry(m_display);
    static const wl_registry_listener listener = {
        [](void* s, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
            static_cast<Session*>(s)->global(name, interface, version);
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(m_registry, &listener, this);
    if (!roundtrip(m_limits.answerMs) || !m_protocol || !m_seat)
        return;
    m_manager = wl_registry_bind(m_registry, m_managerName, m_protocol->manager,
                                 std::min(m_managerVersion, m_protocol->maxVersion));
    m_device = m_protocol->getDevice(m_manager, m_seat, this);
    // The current selection arrives at once; a compositor that refuses us says so here.
    roundtrip(m_limits.answerMs);
}

WaylandClipboardReader::Session::~Session() {
    for (Write& w : m_writes)
        ::close(w.fd);
    for (auto& [proxy, offer] : m_offers)
        m_protocol->destroyOffer(proxy);
    for (void* source : m_sources)
        m_protocol->destroySource(source);
    if (m_keepAlive)
        wl_callback_destroy(m_keepAlive);
    if (m_device)
        m_protocol->destroyDevice(m_device);
    if (m_manager)
        m_protocol->destroyManager(m_manager);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display)
        wl_display_disconnect(m_display);
}

void WaylandClipboardReader::Session::wait(int wakeFd) {
    // A lost connection is the caller's to replace; nothing here would wake us.
    if (!ok() || !prepareRead())
        return;
    std::vector<pollfd> fds{{wakeFd, POLLIN, 0}, {wl_display_get_fd(m_display), POLLIN, 0}};
    const size_t firstWrite = fds.size();
    for (const Write& w : m_writes)
        fds.push_back({w.fd, POLLOUT, 0});
    // Requests handled below may add writes; they wait for the next round.
    const size_t writes = m_writes.size();
    if (::poll(fds.data(), fds.size(), m_writes.empty() ? kKeepAliveMs : 100) == 0 &&
        m_writes.empty())
        keepAlive();
    // A connection the compositor closed reads as its end, which marks the display.
    if (fds[1].revents & (POLLIN | POLLHUP | POLLERR))
        wl_display_read_events(m_display);
    else
        wl_display_cancel_read(m_display);
    wl_display_dispatch_pending(m_display);
    if (fds[0].revents & POLLIN) {
        eventfd_t ignored;
        eventfd_read(wakeFd, &ignored);
    }
    serveWrites(fds, firstWrite, writes);
}

ClipboardContent WaylandClipboardReader::Session::look(bool readImage, bool quick) {
    ClipboardContent out;
    // Every change announced so far has been handled on this thread already; no
    // round trip is needed to see it.
    if (!ok() || !dispatchArrived())
        return out;
    if (m_ownSource) {
        // Our own copy is answered from memory: reading it through the compositor
        // would need this thread to serve and read at once.
        out.state = ClipboardContent::State::Bitmap;
        out.ownership = m_serial;
        out.own = true;
        if (readImage) {
            out.picture = Picture::fromImage(m_ownImage);
            out.fingerprint = pixelFingerprint(m_ownImage);
        }
        return out;
    }
    const auto current = m_offers.find(m_current);
    if (current == m_offers.end())
        return out;
    const std::vector<QByteArray>& offered = current->second->types;
    QByteArray chosen;
    for (const QByteArray& wanted : clipboardImageTypes()) {
        if (std::find(offered.begin(), offered.end(), wanted) != offered.end()) {
            chosen = wanted;
            break;
        }
    }
    if (chosen.isEmpty())
        return out;
    out.state = ClipboardContent::State::Bitmap;
    out.ownership = m_serial;
    // The protocol names no client: what is known is when the offer came.
    out.firstAfterOurEmptying = m_firstAfterOurEmptying;
    out.offeredAtMs = m_offeredAtMs;
    if (m_firstAfterOurEmptying && m_ourEmptyingAtMs >= 0)
        out.afterOurEmptyingMs = m_offeredAtMs - m_ourEmptyingAtMs;
    // Nobody is named here, but another offer between the take and this one (a text copied
    // in between) makes this one a new copy too.
    out.anotherOwnerSinceTake =
        m_takenSerial != 0 &&
        std::any_of(m_offerSerials.begin(), m_offerSerials.end(),
                    [&](std::uint64_t s) { return s > m_takenSerial && s != m_serial; });
    if (!readImage)
        return out;
    QByteArray data;
    if (!receive(m_current, chosen, quick ? m_limits.answerMs : m_limits.patientMs, &data,
                 &out.reason) ||
        data.isEmpty()) {
        out.state = ClipboardContent::State::Unreadable;
        if (out.reason.isEmpty())
            out.reason = QStringLiteral("the program that holds the picture did not hand it over");
        return out;
    }
    QString reason;
    const QImage image = decodeClipboardImage(chosen, data, &reason);
    if (image.isNull()) {
        out.state = ClipboardContent::State::Unreadable;
        out.reason = reason;
        return out;
    }
    out.picture = Picture::fromImage(image);
    out.fingerprint = pixelFingerprint(image);
    return out;
}

void WaylandClipboardReader::Session::clearIf(std::uint64_t ownership) {
    if (!ok() || ownership == 0 || !roundtrip(m_limits.answerMs))
        return;
    // The protocol has no conditional clear: the check and the request are as close
    // together as one client can put them.
    if (ownership == m_serial && (m_current || m_ownSource)) {
        clear();
        m_awaitingOurEmptying = true;
    }
}

void WaylandClipboardReader::Session::clear() {
    if (!ok())
        return;
    m_protocol->setSelection(m_device, nullptr);
    flush();
    // Gone for our own looks at once; the compositor's confirmation comes later.
    if (m_current)
        forget(m_current);
    m_current = nullptr;
    m_ownSource = nullptr;
    m_ownImage = QImage();
    m_ownPng.clear();
    ++m_serial;
}

void WaylandClipboardReader::Session::global(uint32_t name, const char* interface,
                                             uint32_t version) {
    if (!m_seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        m_seat = static_cast<wl_seat*>(wl_registry_bind(m_registry, name, &wl_seat_interface, 1));
        return;
    }
    for (const DataControl& p : kProtocols) {
        if (std::strcmp(interface, p.manager->name) != 0)
            continue;
        if (!m_protocol || &p < m_protocol) {
            m_protocol = &p;
            m_managerName = name;
            m_managerVersion = version;
        }
    }
}

void WaylandClipboardReader::Session::dataOffer(void* proxy) {
    auto offer = std::make_unique<Offer>();
    offer->proxy = proxy;
    m_protocol->listenOffer(proxy, offer.get());
    m_offers[proxy] = std::move(offer);
}

void WaylandClipboardReader::Session::selection(void* proxy) {
    if (m_current && m_current != proxy)
        forget(m_current);
    m_current = proxy;
    ++m_serial;
    const std::int64_t nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count();
    if (proxy) {
        m_firstAfterOurEmptying = std::exchange(m_sinceOurEmptying, false);
        m_offeredAtMs = nowMs;
        m_offerSerials.push_back(m_serial);
        if (m_offerSerials.size() > 64)
            m_offerSerials.pop_front();
    } else {
        // Another program's emptying does not end the wait for the first owner after
        // ours: a manager may empty the selection itself before it puts its copy back.
        if (m_awaitingOurEmptying) {
            m_sinceOurEmptying = true;
            m_ourEmptyingAtMs = nowMs;
        }
        m_firstAfterOurEmptying = false;
        m_offeredAtMs = -1;
    }
    m_awaitingOurEmptying = false;
    m_changed();
}

void WaylandClipboardReader::Session::primarySelection(void* proxy) {
    if (proxy && proxy != m_current)
        forget(proxy);
}

void WaylandClipboardReader::Session::forget(void* proxy) {
    m_protocol->destroyOffer(proxy);
    m_offers.erase(proxy);
}

void WaylandClipboardReader::Session::keepAlive() {
    // A compositor that could not send us an event marks us broken, but closes the
    // connection only once we speak: silent, we would wait for ever for the next event.
    if (m_keepAlive)
        return; // the last one is still on its way
    m_keepAlive = wl_display_sync(m_display);
    static const wl_callback_listener listener = {[](void* s, wl_callback* c, uint32_t) {
        wl_callback_destroy(c);
        static_cast<Session*>(s)->m_keepAlive = nullptr;
    }};
    wl_callback_add_listener(m_keepAlive, &listener, this);
    flush();
}

bool WaylandClipboardReader::Session::prepareRead() {
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0)
            return false;
    }
    flush();
    return true;
}

void WaylandClipboardReader::Session::flush() {
    // A full socket empties as the compositor reads; it never refuses for long.
    for (int i = 0; i < 50 && wl_display_flush(m_display) < 0 && errno == EAGAIN; ++i) {
        pollfd pfd{wl_display_get_fd(m_display), POLLOUT, 0};
        ::poll(&pfd, 1, 100);
    }
}

bool WaylandClipboardReader::Session::dispatchArrived() {
    if (!prepareRead())
        return false;
    pollfd pfd{wl_display_get_fd(m_display), POLLIN, 0};
    if (::poll(&pfd, 1, 0) > 0)
        wl_display_read_events(m_display);
    else
        wl_display_cancel_read(m_display);
    return wl_display_dispatch_pending(m_display) >= 0;
}

bool WaylandClipboardReader::Session::roundtrip(int timeoutMs) {
    bool done = false;
    wl_callback* callback = wl_display_sync(m_display);
    static const wl_callback_listener listener = {
        [](void* d, wl_callback*, uint32_t) { *static_cast<bool*>(d) = true; }};
    wl_callback_add_listener(callback, &listener, &done);
    QElapsedTimer timer;
    timer.start();
    while (!done && !m_stop && wl_display_get_error(m_display) == 0) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            break;
        if (!prepareRead())
            break;
        pollfd pfd{wl_display_get_fd(m_display), POLLIN, 0};
        if (::poll(&pfd, 1, int(std::min<qint64>(left, 100))) > 0)
            wl_display_read_events(m_display);
        else
            wl_display_cancel_read(m_display);
        wl_display_dispatch_pending(m_display);
    }
    wl_callback_destroy(callback);
    return done;
}

bool WaylandClipboardReader::Session::receive(void* offer, const QByteArray& mimeType,
                                              int firstByteMs, QByteArray* out, QString* refused) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    // Only our end: the owner may write with plain blocking writes, and must then wait
    // for room rather than fail.
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    m_protocol->receive(offer, mimeType.constData(), fds[1]);
    flush();
    ::close(fds[1]);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    // A newer selection ends the wait for the first byte, so a slow owner may take its
    // time: a toolkit encodes a large screen for seconds before it. An owner already
    // sending is read on while it keeps up.
    const std::uint64_t selection = m_serial;
    int limitMs = firstByteMs;
    QElapsedTimer sinceReplaced;
    bool ended = false;
    std::vector<char> piece(256 * 1024);
    while (!ended && !m_stop) {
        // Progress buys time for the next piece, never beyond the look's own deadline.
        const qint64 left =
            std::min(limitMs - sinceProgress.elapsed(), m_limits.patientMs - sinceStart.elapsed());
        if (left <= 0 || !prepareRead())
            break;
        pollfd pfd[2] = {{fds[0], POLLIN, 0}, {wl_display_get_fd(m_display), POLLIN, 0}};
        const int polled = ::poll(pfd, 2, int(std::min<qint64>(left, 100)));
        if (polled > 0 && (pfd[1].revents & (POLLIN | POLLHUP | POLLERR)))
            wl_display_read_events(m_display);
        else
            wl_display_cancel_read(m_display);
        if (wl_display_dispatch_pending(m_display) < 0)
            break;
        if (m_serial != selection) {
            if (!sinceReplaced.isValid())
                sinceReplaced.start();
            if (out->isEmpty() || sinceReplaced.elapsed() > kReplacedRestMs)
                break;
            limitMs = std::min(limitMs, kReplacedPieceMs);
        }
        if (polled <= 0 || !(pfd[0].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t n = ::read(fds[0], piece.data(), piece.size());
        if (n == 0) {
            ended = true;
        } else if (n > 0) {
            if (out->size() + n > m_limits.maxBytes)
                break;
            const bool inHeader = out->size() < kPictureHeaderBytes;
            out->append(piece.data(), n);
            if (inHeader && clipboardImageRefusedByHeader(mimeType, *out, refused))
                break;
            limitMs = m_limits.stallMs;
            sinceProgress.restart();
        } else if (errno != EAGAIN && errno != EINTR) {
            break;
        }
    }
    ::close(fds[0]);
    return ended;
}
