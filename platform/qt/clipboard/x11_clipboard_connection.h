// The X reader's connection of its own: changes of owner as the server announces them,
// and transfers of what the owner offers, large ones piece by piece. Used only on the
// reader's thread.
#pragma once

#include "platform/qt/clipboard/x11_clients.h"
#include "platform/qt/clipboard/x11_clipboard_reader.h"
#include "platform/qt/clipboard/x11_presses.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <QElapsedTimer>
#include <cstdlib>
#include <deque>
#include <optional>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

class X11ClipboardReader::Connection {
public:
    Connection(const Limits& limits, const X11Presses* presses);
    ~Connection();
    bool ok() const { return m_ok; }

    void disownIf(std::uint64_t ownership, const std::atomic<bool>& stop,
                  const std::function<void()>& beforeEmptying);
    /** The picture read with ownership was taken and is left on the clipboard. */
    void noteTaken(std::uint64_t ownership);

    /** The owner window and how many changes of owner we have seen so far. */
    std::uint64_t currentOwnership(const std::atomic<bool>&);

    void noteOwnerChange(const xcb_generic_event_t* ev);

    /** The owner that the last look ran out of time with, while it still holds the
        clipboard; 0 when that look ended otherwise. */
    std::uint64_t lateOwnership() const { return m_lateOwnership; }
    int lateLooks() const { return m_lateLooks; }

    ClipboardContent look(bool readImage, const std::atomic<bool>& stop);

private:
    ClipboardContent lookAt(bool readImage, const std::atomic<bool>& stop);

    xcb_atom_t atom(const char* name);

    /** Waits for an event that pred accepts, until the deadline, stop or, unless the owner
        is already sending, a newer copy. */
    template <typename Pred>
    XPtr<xcb_generic_event_t> waitFor(Pred pred, int timeoutMs, const std::atomic<bool>& stop,
                                      bool sending = false);

    /** Reads and deletes our property; appends its bytes. */
    bool takeProperty(QByteArray* out, xcb_atom_t* type);

    /** What is left of ms within the look's overall deadline. */
    int within(qint64 ms) const;

    /** Reads target, its answer waited for answerMs; with imageType named, gives up as
        soon as the header refuses it. */
    bool transfer(xcb_atom_t target, const QByteArray& imageType, QByteArray* out, xcb_atom_t* type,
                  const std::atomic<bool>& stop, int answerMs, QString* refused = nullptr);

    Limits m_limits;
    QElapsedTimer m_look;
    std::uint32_t m_changesAtStart = 0;
    bool m_refused = false;  // the owner answered the last request with no data
    bool m_late = false;     // the look ran out of time
    bool m_replaced = false; // a newer copy came during the look
    std::uint64_t m_lateOwnership = 0;
    int m_lateLooks = 0;
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboard = XCB_NONE, m_targets = XCB_NONE, m_incr = XCB_NONE,
               m_property = XCB_NONE;
    std::optional<X11Clients> m_clients;
    const X11Presses* m_presses;
    // What was there at the look that read a picture, and at the look of the last picture
    // taken: the clients connected, the boot clock, and how many changes of owner we had seen.
    struct Moment {
        std::uint64_t ownership = 0;
        X11Clients::Connected clients;
        std::optional<std::uint64_t> ticks;
        std::uint32_t changes = 0;
    };
    void taken(std::uint64_t ownership);
    Moment m_atLook;
    std::optional<Moment> m_atTake;
    // The programs that took the clipboard, by the number of the change; the latest only.
    struct Owner {
        std::uint32_t change;
        X11Clients::Program program;
    };
    std::deque<Owner> m_owners;
    bool anotherOwnerSince(std::uint32_t change, std::uint64_t offerer) const;
    xcb_timestamp_t m_ourEmptyingEventAt = 0;
    xcb_timestamp_t m_firstOwnerEventAt = 0;
    xcb_timestamp_t m_ownerEventAt = 0;
    // The last time this program took the clipboard (its own copy).
    std::optional<std::uint32_t> m_ourChange;
    xcb_timestamp_t m_ourEventAt = 0;
    std::uint8_t m_xfixesEvent = 0;
    std::uint32_t m_ownerChanges = 0;
    xcb_timestamp_t m_ownerSince = 0;
    bool m_ownerSinceKnown = false;
    bool m_sinceOurEmptying = false;
    bool m_firstAfterOurEmptying = false;
    std::int64_t m_afterOurEmptyingMs = -1;
    std::optional<unsigned int> m_emptyingRequest;
    std::vector<xcb_atom_t> m_imageTargets;
    std::vector<xcb_atom_t> m_properties;
    size_t m_next = 0;
    bool m_ok = false;
};
