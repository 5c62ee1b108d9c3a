#include "platform/qt/clipboard/wayland_clipboard_reader.h"

#include "platform/qt/clipboard/clipboard_image.h"

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace {

constexpr const char* kOwnType = "image/png";

struct Offer {
    void* proxy = nullptr;
    std::vector<QByteArray> types;
};

/** What the session needs to hear from the compositor. */
class Events {
public:
    virtual ~Events() = default;
    virtual void dataOffer(void* offer) = 0;
    virtual void selection(void* offer) = 0;
    virtual void primarySelection(void* offer) = 0;
    virtual void finished() = 0;
    virtual void send(void* source, const char* mimeType, int fd) = 0;
    virtual void cancelled(void* source) = 0;
};

/** The two clipboard-manager protocols are the same messages under two names; this
    table lets one session speak either. */
struct DataControl {
    const wl_interface* manager;
    std::uint32_t maxVersion;
    void* (*getDevice)(void* manager, wl_seat* seat, Events* events);
    void* (*createSource)(void* manager, Events* events);
    void (*destroyManager)(void* manager);
    void (*setSelection)(void* device, void* source);
    void (*destroyDevice)(void* device);
    void (*offerType)(void* source, const char* mimeType);
    void (*destroySource)(void* source);
    void (*receive)(void* offer, const char* mimeType, int fd);
    void (*listenOffer)(void* offer, Offer* into);
    void (*destroyOffer)(void* offer);
};

#define PICTAVO_DATA_CONTROL(P, VERSION)                                                           \
    DataControl {                                                                                  \
        &P##_manager_v1_interface, VERSION,                                                        \
            [](void* manager, wl_seat* seat, Events* events) -> void* {                            \
                auto* device =                                                                     \
                    P##_manager_v1_get_data_device(static_cast<P##_manager_v1*>(manager), seat);   \
                static const P##_device_v1_listener listener = {                                   \
                    [](void* e, P##_device_v1*, P##_offer_v1* o) {                                 \
                        static_cast<Events*>(e)->dataOffer(o);                                     \
                    },                                                                             \
                    [](void* e, P##_device_v1*, P##_offer_v1* o) {                                 \
                        static_cast<Events*>(e)->selection(o);                                     \
                    },                                                                             \
                    [](void* e, P##_device_v1*) { static_cast<Events*>(e)->finished(); },          \
                    [](void* e, P##_device_v1*, P##_offer_v1* o) {                                 \
                        static_cast<Events*>(e)->primarySelection(o);                              \
                    }};                                                                            \
                P##_device_v1_add_listener(device, &listener, events);                             \
                return device;                                                                     \
            },                                                                                     \
            [](void* manager, Events* events) -> void* {                                           \
                auto* source =                                                                     \
                    P##_manager_v1_create_data_source(static_cast<P##_manager_v1*>(manager));      \
                static const P##_source_v1_listener listener = {                                   \
                    [](void* e, P##_source_v1* s, const char* type, int32_t fd) {                  \
                        static_cast<Events*>(e)->send(s, type, fd);                                \
                    },                                                                             \
                    [](void* e, P##_source_v1* s) { static_cast<Events*>(e)->cancelled(s); }};     \
                P##_source_v1_add_listener(source, &listener, events);                             \
                return source;                                                                     \
            },                                                                                     \
            [](void* m) { P##_manager_v1_destroy(static_cast<P##_manager_v1*>(m)); },              \
            [](void* d, void* s) {                                                                 \
                P##_device_v1_set_selection(static_cast<P##_device_v1*>(d),                        \
                                            static_cast<P##_source_v1*>(s));                       \
            },                                                                                     \
            [](void* d) { P##_device_v1_destroy(static_cast<P##_device_v1*>(d)); },                \
            [](void* s, const char* type) {                                                        \
                P##_source_v1_offer(static_cast<P##_source_v1*>(s), type);                         \
            },                                                                                     \
            [](void* s) { P##_source_v1_destroy(static_cast<P##_source_v1*>(s)); },                \
            [](void* o, const char* type, int fd) {                                                \
                P##_offer_v1_receive(static_cast<P##_offer_v1*>(o), type, fd);                     \
            },                                                                                     \
            [](void* o, Offer* into) {                                                             \
                static const P##_offer_v1_listener listener = {                                    \
                    [](void* i, P##_offer_v1*, const char* type) {                                 \
                        static_cast<Offer*>(i)->types.emplace_back(type);                          \
                    }};                                                                            \
                P##_offer_v1_add_listener(static_cast<P##_offer_v1*>(o), &listener, into);         \
            },                                                                                     \
            [](void* o) { P##_offer_v1_destroy(static_cast<P##_offer_v1*>(o)); },                  \
    }

// The standard name first: a compositor that offers both means it as the one to use.
const DataControl kProtocols[] = {PICTAVO_DATA_CONTROL(ext_data_control, 1),
                                  PICTAVO_DATA_CONTROL(zwlr_data_control, 2)};

/** Our picture being written to a reader, a piece whenever the pipe has room. */
struct Write {
    int fd;
    QByteArray data;
    qsizetype done = 0;
    QElapsedTimer sinceProgress;
};

} // namespace

class WaylandClipboardReader::Session final : public Events {
public:
    Session(const Limits& limits, const std::atomic<bool>& stop, std::function<void()> changed)
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

    ~Session() override {
        for (Write& w : m_writes)
            ::close(w.fd);
        for (auto& [proxy, offer] : m_offers)
            m_protocol->destroyOffer(proxy);
        for (void* source : m_sources)
            m_protocol->destroySource(source);
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

    bool ok() const { return m_device && !m_finished && wl_display_get_error(m_display) == 0; }

    /** Waits for the wake descriptor, the compositor or a reader of ours, and handles
        what came. Without pending writes it sleeps until woken. */
    void wait(int wakeFd) {
        std::vector<pollfd> fds{{wakeFd, POLLIN, 0}};
        const bool watching = ok() && prepareRead();
        if (watching)
            fds.push_back({wl_display_get_fd(m_display), POLLIN, 0});
        const size_t firstWrite = fds.size();
        for (const Write& w : m_writes)
            fds.push_back({w.fd, POLLOUT, 0});
        // Requests handled below may add writes; they wait for the next round.
        const size_t writes = m_writes.size();
        ::poll(fds.data(), fds.size(), m_writes.empty() ? -1 : 100);
        if (watching) {
            if (fds[1].revents & POLLIN)
                wl_display_read_events(m_display);
            else
                wl_display_cancel_read(m_display);
            wl_display_dispatch_pending(m_display);
        }
        if (fds[0].revents & POLLIN) {
            eventfd_t ignored;
            eventfd_read(wakeFd, &ignored);
        }
        serveWrites(fds, firstWrite, writes);
    }

    ClipboardContent look(bool readImage) {
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
            if (readImage)
                out.picture = Picture::fromImage(m_ownImage);
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
        out.takenAfterEmptyingMs = m_takenAfterEmptying;
        if (!readImage)
            return out;
        QByteArray data;
        if (!receive(m_current, chosen, &data) || data.isEmpty()) {
            out.state = ClipboardContent::State::Unreadable;
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
        return out;
    }

    void clearIf(std::uint64_t ownership) {
        if (!ok() || ownership == 0 || !roundtrip(m_limits.answerMs))
            return;
        // The protocol has no conditional clear: the check and the request are as close
        // together as one client can put them.
        if (ownership == m_serial && (m_current || m_ownSource)) {
            clear();
            m_awaitingOurEmptying = true;
        }
    }

    void clear() {
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

    void setImage(const QImage& image) {
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

private:
    void global(uint32_t name, const char* interface, uint32_t version) {
        if (!m_seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
            m_seat =
                static_cast<wl_seat*>(wl_registry_bind(m_registry, name, &wl_seat_interface, 1));
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

    void dataOffer(void* proxy) override {
        auto offer = std::make_unique<Offer>();
        offer->proxy = proxy;
        m_protocol->listenOffer(proxy, offer.get());
        m_offers[proxy] = std::move(offer);
    }

    void selection(void* proxy) override {
        if (m_current && m_current != proxy)
            forget(m_current);
        m_current = proxy;
        ++m_serial;
        // How soon an owner took the selection after we emptied it, with nothing between:
        // what a clipboard manager that puts back what was emptied looks like.
        m_takenAfterEmptying = proxy && m_emptied.isValid() ? m_emptied.elapsed() : -1;
        if (!proxy && m_awaitingOurEmptying)
            m_emptied.start();
        else
            m_emptied.invalidate();
        m_awaitingOurEmptying = false;
        m_changed();
    }

    void primarySelection(void* proxy) override {
        if (proxy && proxy != m_current)
            forget(proxy);
    }

    void finished() override { m_finished = true; }

    void send(void* source, const char* mimeType, int fd) override {
        if (source != m_ownSource || std::strcmp(mimeType, kOwnType) != 0) {
            ::close(fd);
            return;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        Write w{fd, m_ownPng, 0, {}};
        w.sinceProgress.start();
        m_writes.push_back(std::move(w));
    }

    void cancelled(void* source) override {
        if (source == m_ownSource) {
            m_ownSource = nullptr;
            m_ownImage = QImage();
            m_ownPng.clear();
        }
        m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
        m_protocol->destroySource(source);
    }

    void forget(void* proxy) {
        m_protocol->destroyOffer(proxy);
        m_offers.erase(proxy);
    }

    /** Handles what has been read, then readies the connection for the next read. */
    bool prepareRead() {
        while (wl_display_prepare_read(m_display) != 0) {
            if (wl_display_dispatch_pending(m_display) < 0)
                return false;
        }
        flush();
        return true;
    }

    void flush() {
        // A full socket empties as the compositor reads; it never refuses for long.
        for (int i = 0; i < 50 && wl_display_flush(m_display) < 0 && errno == EAGAIN; ++i) {
            pollfd pfd{wl_display_get_fd(m_display), POLLOUT, 0};
            ::poll(&pfd, 1, 100);
        }
    }

    /** Handles the events that have arrived, without waiting for more. */
    bool dispatchArrived() {
        if (!prepareRead())
            return false;
        pollfd pfd{wl_display_get_fd(m_display), POLLIN, 0};
        if (::poll(&pfd, 1, 0) > 0)
            wl_display_read_events(m_display);
        else
            wl_display_cancel_read(m_display);
        return wl_display_dispatch_pending(m_display) >= 0;
    }

    /** Handles every event the compositor sent before now; false after timeoutMs. */
    bool roundtrip(int timeoutMs) {
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

    /** Reads the offer as mimeType to its end, within the deadlines and the size bound. */
    bool receive(void* offer, const QByteArray& mimeType, QByteArray* out) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
            return false;
        m_protocol->receive(offer, mimeType.constData(), fds[1]);
        flush();
        ::close(fds[1]);
        QElapsedTimer sinceProgress;
        sinceProgress.start();
        int limitMs = m_limits.answerMs;
        bool ended = false;
        std::vector<char> piece(256 * 1024);
        while (!ended && !m_stop) {
            const qint64 left = limitMs - sinceProgress.elapsed();
            if (left <= 0)
                break;
            pollfd pfd{fds[0], POLLIN, 0};
            if (::poll(&pfd, 1, int(std::min<qint64>(left, 100))) <= 0)
                continue;
            const ssize_t n = ::read(fds[0], piece.data(), piece.size());
            if (n == 0) {
                ended = true;
            } else if (n > 0) {
                if (out->size() + n > m_limits.maxBytes)
                    break;
                out->append(piece.data(), n);
                limitMs = m_limits.stallMs;
                sinceProgress.restart();
            } else if (errno != EAGAIN && errno != EINTR) {
                break;
            }
        }
        ::close(fds[0]);
        return ended;
    }

    void serveWrites(const std::vector<pollfd>& fds, size_t first, size_t polled) {
        std::vector<Write> still;
        for (size_t i = 0; i < m_writes.size(); ++i) {
            Write& w = m_writes[i];
            bool keep = true;
            if (i < polled && (fds[first + i].revents & (POLLOUT | POLLERR | POLLHUP))) {
                const ssize_t n =
                    ::write(w.fd, w.data.constData() + w.done,
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

    Limits m_limits;
    const std::atomic<bool>& m_stop;
    std::function<void()> m_changed;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    const DataControl* m_protocol = nullptr;
    uint32_t m_managerName = 0, m_managerVersion = 0;
    void* m_manager = nullptr;
    void* m_device = nullptr;
    bool m_finished = false;
    std::map<void*, std::unique_ptr<Offer>> m_offers;
    void* m_current = nullptr;
    std::uint64_t m_serial = 0;
    bool m_awaitingOurEmptying = false;
    QElapsedTimer m_emptied;
    std::int64_t m_takenAfterEmptying = -1;
    std::vector<void*> m_sources;
    void* m_ownSource = nullptr;
    QImage m_ownImage;
    QByteArray m_ownPng;
    std::vector<Write> m_writes;
};

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
