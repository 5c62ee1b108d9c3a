#include "platform/qt/clipboard/x11_clients.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/res.h>

X11Clients::X11Clients(xcb_connection_t* c) : m_c(c) {
    m_manager = internAtom(m_c, "CLIPBOARD_MANAGER");
    m_baseMask = ~xcb_get_setup(m_c)->resource_id_mask;
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(m_c, &xcb_res_id);
    if (res && res->present) {
        XPtr<xcb_res_query_version_reply_t> version(xcb_res_query_version_reply(
            m_c, xcb_res_query_version(m_c, XCB_RES_MAJOR_VERSION, XCB_RES_MINOR_VERSION),
            nullptr));
        m_canList = version != nullptr;
    }
}

std::optional<X11Clients::Bases> X11Clients::connected() const {
    if (!m_canList)
        return std::nullopt;
    XPtr<xcb_res_query_clients_reply_t> reply(
        xcb_res_query_clients_reply(m_c, xcb_res_query_clients(m_c), nullptr));
    if (!reply)
        return std::nullopt;
    Bases bases;
    for (auto it = xcb_res_query_clients_clients_iterator(reply.get()); it.rem;
         xcb_res_client_next(&it))
        bases.push_back(it.data->resource_base & m_baseMask);
    std::sort(bases.begin(), bases.end());
    return bases;
}

ClipboardContent::Offerer X11Clients::offerer(xcb_window_t owner,
                                              const std::optional<Bases>& atTake) const {
    using Connected = ClipboardContent::Offerer::Connected;
    ClipboardContent::Offerer by;
    by.client = owner & m_baseMask;
    if (m_manager != XCB_NONE) {
        XPtr<xcb_get_selection_owner_reply_t> manager(
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_manager), nullptr));
        by.manager =
            manager && manager->owner != XCB_NONE && (manager->owner & m_baseMask) == by.client;
    }
    if (atTake)
        by.atLastTake = std::binary_search(atTake->begin(), atTake->end(), by.client)
                            ? Connected::Yes
                            : Connected::No;
    return by;
}
