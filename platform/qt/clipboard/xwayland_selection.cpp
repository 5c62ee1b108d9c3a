#include "platform/qt/clipboard/xwayland_selection.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XPtr = std::unique_ptr<T, FreeDeleter>;
} // namespace

XWaylandSelection::XWaylandSelection() : m_c(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(m_c))
        return;
    const xcb_setup_t* setup = xcb_get_setup(m_c);
    m_idMask = setup->resource_id_mask;
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    auto atom = [this](const char* name) {
        XPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_NONE);
    };
    m_clipboard = atom("CLIPBOARD");
    XPtr<xcb_get_property_reply_t> check(xcb_get_property_reply(
        m_c,
        xcb_get_property(m_c, 0, root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (check && xcb_get_property_value_length(check.get()) == 4)
        m_wmCheck = *static_cast<const xcb_window_t*>(xcb_get_property_value(check.get()));
}

XWaylandSelection::~XWaylandSelection() {
    xcb_disconnect(m_c);
}

bool XWaylandSelection::ownedByCompositor() {
    if (m_wmCheck == XCB_NONE || xcb_connection_has_error(m_c))
        return false;
    XPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_clipboard), nullptr));
    if (!owner || owner->owner == XCB_NONE)
        return false;
    // Windows of one client share the bits outside the resource mask; the compositor's
    // window manager is the client that made the check window.
    return (owner->owner & ~m_idMask) == (m_wmCheck & ~m_idMask);
}
