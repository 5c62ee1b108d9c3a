#include "platform/qt/clipboard/x11_clipboard_connection.h"

#include "pictures/pixel_fingerprint.h"
#include "platform/qt/clipboard/clipboard_image.h"

#include <algorithm>
#include <cstring>
#include <poll.h>
#include <string>
#include <xcb/xfixes.h>

X11ClipboardReader::Connection::Connection(const Limits& limits, const X11Presses* presses)
    : m_limits(limits), m_presses(presses) {
    m_c = xcb_connect(nullptr, nullptr);
    if (!m_c || xcb_connection_has_error(m_c))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
    m_window = xcb_generate_id(m_c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &mask);
    m_clipboard = atom("CLIPBOARD");
    m_clients.emplace(m_c);
    m_targets = atom("TARGETS");
    m_incr = atom("INCR");
    // Each transfer uses the next of a few properties, so a late answer to a
    // transfer that was given up cannot be taken for the answer to a later one.
    for (int i = 0; i < 8; ++i)
        m_properties.push_back(atom(("PICTAVO_CLIPBOARD_" + std::to_string(i)).c_str()));
    for (const QByteArray& name : clipboardImageTypes())
        m_imageTargets.push_back(atom(name.constData()));
    // Every change of owner is announced to us, also when the same window takes
    // the clipboard again at the same timestamp, as toolkits do.
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(m_c, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        std::free(xcb_xfixes_query_version_reply(
            m_c, xcb_xfixes_query_version(m_c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        m_xfixesEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
        xcb_xfixes_select_selection_input(
            m_c, m_window, m_clipboard,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    }
    xcb_flush(m_c);
    m_ok = !xcb_connection_has_error(m_c);
}

X11ClipboardReader::Connection::~Connection() {
    if (m_c)
        xcb_disconnect(m_c);
}

void X11ClipboardReader::Connection::disownIf(std::uint64_t ownership,
                                              const std::atomic<bool>& stop,
                                              const std::function<void()>& beforeEmptying) {
    // Who was there counts from the take, whether or not the emptying happens: a
    // manager may take the picture over first.
    taken(ownership);
    if (ownership == 0 || currentOwnership(stop) != ownership)
        return;
    // The time at which the owner took the clipboard: the server ignores the request
    // when anyone has taken it later, even between the check above and the request.
    // Without that time (an owner from before we watched) the server's own is used.
    const xcb_timestamp_t time = m_ownerSinceKnown ? m_ownerSince : XCB_CURRENT_TIME;
    if (beforeEmptying)
        beforeEmptying();
    m_emptyingRequest = xcb_set_selection_owner(m_c, XCB_NONE, m_clipboard, time).sequence;
    xcb_flush(m_c);
}

void X11ClipboardReader::Connection::noteTaken(std::uint64_t ownership) {
    taken(ownership);
}

void X11ClipboardReader::Connection::taken(std::uint64_t ownership) {
    if (ownership != 0 && ownership == m_atLook.ownership)
        m_atTake = std::move(m_atLook);
    m_atLook = {};
}

bool X11ClipboardReader::Connection::anotherOwnerSince(std::uint32_t change,
                                                       std::uint64_t offerer) const {
    return std::any_of(m_owners.begin(), m_owners.end(), [&](const Owner& o) {
        return std::int32_t(o.change - change) > 0 && !o.program.ours && o.program.id != offerer;
    });
}

std::uint64_t X11ClipboardReader::Connection::currentOwnership(const std::atomic<bool>&) {
    // The reply comes after every event the server sent before it.
    XPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_clipboard), nullptr));
    while (xcb_generic_event_t* raw = xcb_poll_for_event(m_c)) {
        XPtr<xcb_generic_event_t> ev(raw);
        noteOwnerChange(ev.get());
    }
    if (!owner || owner->owner == XCB_NONE)
        return 0;
    return (std::uint64_t(owner->owner) << 32) | m_ownerChanges;
}

void X11ClipboardReader::Connection::noteOwnerChange(const xcb_generic_event_t* ev) {
    if (!m_xfixesEvent || (ev->response_type & 0x7f) != m_xfixesEvent)
        return;
    const auto* n = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(ev);
    ++m_ownerChanges;
    m_ownerSince = n->selection_timestamp;
    m_ownerSinceKnown = true;
    if (n->owner == XCB_NONE) {
        // The event our own emptying caused carries that request's number. Another
        // client's emptying does not end the wait for the first owner after ours: a
        // manager may empty the clipboard itself before it puts its copy back.
        if (m_emptyingRequest && ev->full_sequence == *m_emptyingRequest) {
            m_sinceOurEmptying = true;
            m_ourEmptyingEventAt = n->timestamp;
        }
        m_firstAfterOurEmptying = false;
    } else {
        m_firstAfterOurEmptying = std::exchange(m_sinceOurEmptying, false);
        if (m_firstAfterOurEmptying)
            m_firstOwnerEventAt = n->timestamp;
        // Named now, while the owner is surely there: it may be gone by the next look.
        m_owners.push_back({m_ownerChanges, m_clients->programOf(n->owner)});
        m_ownerEventAt = n->timestamp;
        if (m_owners.back().program.ours) {
            m_ourChange = m_ownerChanges;
            m_ourEventAt = n->timestamp;
        }
        if (m_owners.size() > 64)
            m_owners.pop_front();
        // Server times: they wrap after 49 days, the difference does not.
        // The server's time of each change, not the time the owner claims: a toolkit claims
        // the last time it heard of, which may be long before it copies.
        m_afterOurEmptyingMs =
            m_firstAfterOurEmptying
                ? std::int64_t(std::uint32_t(n->timestamp - m_ourEmptyingEventAt))
                : -1;
    }
}

ClipboardContent X11ClipboardReader::Connection::look(bool readImage,
                                                      const std::atomic<bool>& stop) {
    m_look.start();
    m_late = m_replaced = false;
    // Every change of owner announced before this is behind us; one after it is a
    // newer copy, which ends this look.
    const std::uint64_t lookedAt = currentOwnership(stop);
    m_changesAtStart = m_ownerChanges;
    ClipboardContent out = lookAt(readImage, stop);
    const bool late = m_late && !m_replaced && lookedAt != 0 && currentOwnership(stop) == lookedAt;
    m_lateLooks = late ? (lookedAt == m_lateOwnership ? m_lateLooks + 1 : 1) : 0;
    m_lateOwnership = late ? lookedAt : 0;
    return out;
}

ClipboardContent X11ClipboardReader::Connection::lookAt(bool readImage,
                                                        const std::atomic<bool>& stop) {
    ClipboardContent out;
    QByteArray targetsData;
    xcb_atom_t type = XCB_NONE;
    // An owner that was too slow to name its types gets longer each time.
    const int answerMs = int(std::min<qint64>(qint64(m_limits.answerMs) << std::min(m_lateLooks, 8),
                                              m_limits.patientMs));
    if (!transfer(m_targets, {}, &targetsData, &type, stop, answerMs))
        return out; // no owner, or one that does not answer: nothing offered
    const auto* offered = reinterpret_cast<const xcb_atom_t*>(targetsData.constData());
    const int count = int(targetsData.size() / sizeof(xcb_atom_t));
    // The offered image types, fastest exact one first.
    std::vector<size_t> candidates;
    for (size_t k = 0; k < m_imageTargets.size(); ++k) {
        if (std::find(offered, offered + count, m_imageTargets[k]) != offered + count)
            candidates.push_back(k);
    }
    if (candidates.empty())
        return out;
    out.state = ClipboardContent::State::Bitmap;
    out.ownership = currentOwnership(stop);
    out.firstAfterOurEmptying = m_firstAfterOurEmptying;
    out.afterOurEmptyingMs = m_afterOurEmptyingMs;
    if (out.ownership) {
        out.offerer = m_clients->offerer(xcb_window_t(out.ownership >> 32),
                                         m_atTake ? m_atTake->clients : X11Clients::Connected{},
                                         m_atTake ? m_atTake->ticks : std::nullopt);
        out.anotherOwnerSinceTake =
            m_atTake && anotherOwnerSince(m_atTake->changes, out.offerer.client);
        // Took the clipboard over from this program's own copy, with nobody and no press
        // in between: a manager keeping what we copied.
        out.overOurCopy = m_ourChange && !anotherOwnerSince(*m_ourChange, out.offerer.client) &&
                          std::any_of(m_owners.begin(), m_owners.end(),
                                      [&](const Owner& o) { return o.change == *m_ourChange; }) &&
                          (!m_presses || m_presses->between(m_ourEventAt, m_ownerEventAt, 300) ==
                                             ClipboardContent::Pressed::No);
    }
    if (out.firstAfterOurEmptying && m_presses)
        out.pressedSinceOurEmptying =
            m_presses->between(m_ourEmptyingEventAt, m_firstOwnerEventAt, 300);
    if (!readImage)
        return out;
    // Who was there when a picture was taken: a manager was, a screenshot tool started
    // afresh for the next screenshot was not.
    m_atLook = {out.ownership, m_clients->connected(), X11Clients::bootTicks(), m_changesAtStart};

    QImage image;
    bool allRefused = true;
    for (const size_t k : candidates) {
        // A manager that has just taken the clipboard over may refuse a type it has not
        // stored yet, or at all: the owner's next type is asked for instead.
        const QByteArray& name = clipboardImageTypes()[k];
        QByteArray data;
        m_refused = false;
        out.reason.clear();
        const bool answered =
            transfer(m_imageTargets[k], name, &data, &type, stop, m_limits.patientMs, &out.reason);
        // No data is no picture yet (Wine answers so while it renders its copy): as a
        // refusal, the next type is asked for, and the owner again later.
        if (answered && data.isEmpty())
            m_refused = true;
        if (answered && !data.isEmpty()) {
            allRefused = false;
            image = decodeClipboardImage(name, data, &out.reason);
            if (!image.isNull())
                break;
            continue;
        }
        allRefused = allRefused && m_refused;
        if (!m_refused)
            break; // out of time, or replaced: no other type will do better
    }
    if (image.isNull()) {
        out.state = ClipboardContent::State::Unreadable;
        // Refused outright while it still holds the clipboard: asked again later.
        if (allRefused)
            m_late = true;
        if (out.reason.isEmpty())
            out.reason =
                m_replaced
                    ? QStringLiteral("a newer copy replaced the picture")
                    : QStringLiteral("the program that holds the picture did not hand it over");
        return out;
    }
    out.picture = Picture::fromImage(image);
    out.fingerprint = pixelFingerprint(image);
    return out;
}

xcb_atom_t X11ClipboardReader::Connection::atom(const char* name) {
    return internAtom(m_c, name);
}

template <typename Pred>
XPtr<xcb_generic_event_t> X11ClipboardReader::Connection::waitFor(Pred pred, int timeoutMs,
                                                                  const std::atomic<bool>& stop,
                                                                  bool sending) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(m_c)) {
            XPtr<xcb_generic_event_t> ev(raw);
            noteOwnerChange(ev.get());
            if (!sending && m_ownerChanges != m_changesAtStart) {
                m_replaced = true;
                return nullptr;
            }
            if (pred(ev.get()))
                return ev;
        }
        if (xcb_connection_has_error(m_c) || stop)
            return nullptr;
        const bool replaced = m_ownerChanges != m_changesAtStart;
        const qint64 left =
            (replaced ? std::min(timeoutMs, kReplacedPieceMs) : timeoutMs) - timer.elapsed();
        if (left <= 0) {
            (replaced ? m_replaced : m_late) = true;
            return nullptr;
        }
        pollfd pfd{xcb_get_file_descriptor(m_c), POLLIN, 0};
        ::poll(&pfd, 1, int(std::min<qint64>(left, 100)));
    }
}

bool X11ClipboardReader::Connection::takeProperty(QByteArray* out, xcb_atom_t* type) {
    uint32_t offset = 0;
    for (;;) {
        XPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_c,
            xcb_get_property(m_c, 0, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, offset,
                             4 * 1024 * 1024),
            nullptr));
        if (!reply)
            return false;
        *type = reply->type;
        const int len = xcb_get_property_value_length(reply.get());
        if (out->size() + len > m_limits.maxBytes)
            return false;
        out->append(static_cast<const char*>(xcb_get_property_value(reply.get())), len);
        offset += uint32_t(len / 4);
        if (reply->bytes_after == 0)
            break;
    }
    xcb_delete_property(m_c, m_window, m_property);
    xcb_flush(m_c);
    return true;
}

int X11ClipboardReader::Connection::within(qint64 ms) const {
    return int(std::max<qint64>(0, std::min<qint64>(ms, m_limits.patientMs - m_look.elapsed())));
}

bool X11ClipboardReader::Connection::transfer(xcb_atom_t target, const QByteArray& imageType,
                                              QByteArray* out, xcb_atom_t* type,
                                              const std::atomic<bool>& stop, int answerMs,
                                              QString* refused) {
    out->clear();
    m_property = m_properties[m_next++ % m_properties.size()];
    xcb_delete_property(m_c, m_window, m_property);
    xcb_convert_selection(m_c, m_window, m_clipboard, target, m_property, XCB_CURRENT_TIME);
    xcb_flush(m_c);
    auto ev = waitFor(
        [&](xcb_generic_event_t* e) {
            if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
                return false;
            auto* n = reinterpret_cast<xcb_selection_notify_event_t*>(e);
            return n->requestor == m_window && n->selection == m_clipboard && n->target == target &&
                   (n->property == m_property || n->property == XCB_NONE);
        },
        within(answerMs), stop);
    if (!ev)
        return false;
    auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(ev.get());
    if (notify->property == XCB_NONE) {
        m_refused = true;
        return false;
    }
    if (!takeProperty(out, type))
        return false;
    if (*type != m_incr)
        return true;

    // Large data comes in pieces; each is announced by a new value of the property.
    // An owner replaced half-way is read on while it keeps up.
    out->clear();
    QElapsedTimer sinceReplaced;
    for (;;) {
        if (m_ownerChanges != m_changesAtStart) {
            if (!sinceReplaced.isValid())
                sinceReplaced.start();
            if (sinceReplaced.elapsed() > kReplacedRestMs) {
                m_replaced = true;
                return false;
            }
        }
        auto piece = waitFor(
            [&](xcb_generic_event_t* e) {
                if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                    return false;
                auto* p = reinterpret_cast<xcb_property_notify_event_t*>(e);
                return p->window == m_window && p->atom == m_property &&
                       p->state == XCB_PROPERTY_NEW_VALUE;
            },
            within(m_limits.stallMs), stop, true);
        if (!piece)
            return false;
        const qint64 before = out->size();
        if (!takeProperty(out, type))
            return false;
        if (out->size() == before)
            return true; // a piece of length 0 ends the transfer
        if (!imageType.isEmpty() && before < kPictureHeaderBytes &&
            clipboardImageRefusedByHeader(imageType, *out, refused))
            return false;
    }
}
