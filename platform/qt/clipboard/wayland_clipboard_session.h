// The reader's connection to the compositor: it follows the selection's offers, reads and
// empties them, and serves our own picture to whoever pastes it.
#pragma once

#include <deque>

#include "platform/qt/clipboard/wayland_clipboard_reader.h"
#include "platform/qt/clipboard/wayland_data_control.h"

#include <QElapsedTimer>
#include <map>
#include <poll.h>
#include <wayland-client.h>

class WaylandClipboardReader::Session final : public data_control::Events {
    using DataControl = data_control::DataControl;
    using Offer = data_control::Offer;

    /** Our picture being written to a reader, a piece whenever the pipe has room. */
    struct Write {
        int fd;
        QByteArray data;
        qsizetype done = 0;
        QElapsedTimer sinceProgress;
    };

public:
    Session(const Limits& limits, const std::atomic<bool>& stop, std::function<void()> changed);

    ~Session() override;

    bool ok() const { return m_device && !m_finished && wl_display_get_error(m_display) == 0; }

    /** Waits for the wake descriptor, the compositor or a reader of ours, and handles
        what came. Without pending writes it sleeps until woken. */
    void wait(int wakeFd);

    ClipboardContent look(bool readImage, bool quick);

    void clearIf(std::uint64_t ownership);

    void clear();

    void setImage(const QImage& image);

    /** Our copy while it is the selection; null otherwise. */
    const QImage& ownImage() const { return m_ownImage; }

    bool selectionEmpty() const { return !m_current && !m_ownSource; }

    /** The data-control protocol in use; null before it is bound. */
    const char* protocolName() const { return m_protocol ? m_protocol->manager->name : nullptr; }

private:
    void global(uint32_t name, const char* interface, uint32_t version);

    void dataOffer(void* proxy) override;

    void selection(void* proxy) override;

    void primarySelection(void* proxy) override;

    void finished() override { m_finished = true; }

    void send(void* source, const char* mimeType, int fd) override;

    void cancelled(void* source) override;

    void forget(void* proxy);

    void keepAlive();

    /** Handles what has been read, then readies the connection for the next read. */
    bool prepareRead();

    void flush();

    /** Handles the events that have arrived, without waiting for more. */
    bool dispatchArrived();

    /** Handles every event the compositor sent before now; false after timeoutMs. */
    bool roundtrip(int timeoutMs);

    /** Reads the offer as mimeType to its end, within the deadlines and the size bound;
        gives up early, with refused set, when the header names an oversized picture. */
    bool receive(void* offer, const QByteArray& mimeType, int firstByteMs, QByteArray* out,
                 QString* refused);

    void serveWrites(const std::vector<pollfd>& fds, size_t first, size_t polled);

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
    wl_callback* m_keepAlive = nullptr;
    std::map<void*, std::unique_ptr<Offer>> m_offers;
    void* m_current = nullptr;
    std::uint64_t m_serial = 0;
    bool m_awaitingOurEmptying = false;
    bool m_sinceOurEmptying = false;
    bool m_firstAfterOurEmptying = false;
    std::int64_t m_offeredAtMs = -1;
    std::int64_t m_ourEmptyingAtMs = -1;
    // The serials of the latest offers, and of the one last taken.
    std::deque<std::uint64_t> m_offerSerials;
    std::uint64_t m_takenSerial = 0;

public:
    void noteTaken(std::uint64_t ownership) { m_takenSerial = ownership; }

private:
    std::vector<void*> m_sources;
    void* m_ownSource = nullptr;
    QImage m_ownImage;
    QByteArray m_ownPng;
    std::vector<Write> m_writes;
};
