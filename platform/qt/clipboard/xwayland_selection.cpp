#include "platform/qt/clipboard/xwayland_selection.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

// A wish to hold the clipboard empty lapses after this: an emptying that never came means
// another owner came first.
constexpr qint64 kHoldWithinMs = 3000;
} // namespace

XWaylandSelection::XWaylandSelection() : m_c(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(m_c))
        return;
    const xcb_setup_t* setup = xcb_get_setup(m_c);
    m_idMask = setup->resource_id_mask;
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    auto atom = [this](const char* name) { return internAtom(m_c, name); };
    m_clipboard = atom("CLIPBOARD");
    m_targets = atom("TARGETS");
    m_timestamp = atom("TIMESTAMP");
    XPtr<xcb_get_property_reply_t> check(xcb_get_property_reply(
        m_c,
        xcb_get_property(m_c, 0, root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (check && xcb_get_property_value_length(check.get()) == 4)
        m_wmCheck = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));

    // A window to own the clipboard with, told of every change of its owner.
    XPtr<xcb_xfixes_query_version_reply_t> fixes(xcb_xfixes_query_version_reply(
        m_c, xcb_xfixes_query_version(m_c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(m_c, &xcb_xfixes_id);
    if (!fixes || !extension || !extension->present)
        return;
    m_xfixesEvent = extension->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    m_window = xcb_generate_id(m_c);
    xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_xfixes_select_selection_input(m_c, m_window, m_clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_c);
    m_events =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_c), QSocketNotifier::Read);
    QObject::connect(m_events.get(), &QSocketNotifier::activated, [this] { dispatch(); });
}

XWaylandSelection::~XWaylandSelection() {
    m_events.reset();
    xcb_disconnect(m_c);
}

bool XWaylandSelection::ownedByCompositor() {
    if (m_wmCheck == XCB_NONE || xcb_connection_has_error(m_c))
        return false;
    XPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_clipboard), nullptr));
    // Events read while waiting for the reply would not wake the notifier.
    dispatch();
    if (!owner || owner->owner == XCB_NONE)
        return false;
    // Windows of one client share the bits outside the resource mask; the compositor's
    // window manager is the client that made the check window.
    return (owner->owner & ~m_idMask) == (m_wmCheck & ~m_idMask);
}

void XWaylandSelection::holdEmptyOnceEmptied() {
    if (m_window == XCB_NONE || xcb_connection_has_error(m_c))
        return;
    m_holdWanted.start();
    dispatch();
}

bool XWaylandSelection::holdingEmpty() {
    dispatch();
    if (!m_holding)
        return false;
    // The reply comes after our own request and after every event the server sent before
    // it, so a newer owner seen by another connection is seen here too.
    XPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_clipboard), nullptr));
    dispatch();
    return m_holding && owner && owner->owner == m_window;
}

void XWaylandSelection::dispatch() {
    if (xcb_connection_has_error(m_c))
        return;
    while (xcb_generic_event_t* raw = xcb_poll_for_event(m_c)) {
        XPtr<xcb_generic_event_t> event(raw);
        handle(event.get());
    }
    xcb_flush(m_c);
}

void XWaylandSelection::handle(const void* raw) {
    const auto* event = static_cast<const xcb_generic_event_t*>(raw);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_SELECTION_REQUEST) {
        answer(event);
    } else if (type == XCB_SELECTION_CLEAR) {
        m_holding = false;
    } else if (m_xfixesEvent && type == m_xfixesEvent) {
        const auto* n = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
        if (n->owner == m_window)
            return;
        m_holding = false;
        const bool wanted = m_holdWanted.isValid() && m_holdWanted.elapsed() < kHoldWithinMs;
        if (n->owner != XCB_NONE || !wanted)
            return;
        m_holdWanted.invalidate();
        // At the very time of the emptying: the server ignores the request if anyone took
        // the clipboard since, so a newer copy is never replaced.
        m_heldSince = n->selection_timestamp;
        xcb_set_selection_owner(m_c, m_window, m_clipboard, m_heldSince);
        m_holding = true;
    }
}

void XWaylandSelection::answer(const void* event) {
    const auto* request = static_cast<const xcb_selection_request_event_t*>(event);
    xcb_atom_t property = request->property == XCB_NONE ? request->target : request->property;
    if (request->selection != m_clipboard) {
        property = XCB_NONE;
    } else if (request->target == m_targets) {
        // Nothing but the two answers every owner gives.
        const xcb_atom_t offered[] = {m_targets, m_timestamp};
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request->requestor, property, XCB_ATOM_ATOM,
                            32, 2, offered);
    } else if (request->target == m_timestamp) {
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                            XCB_ATOM_INTEGER, 32, 1, &m_heldSince);
    } else {
        property = XCB_NONE;
    }
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request->time;
    notify.requestor = request->requestor;
    notify.selection = request->selection;
    notify.target = request->target;
    notify.property = property;
    xcb_send_event(m_c, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
}
