// Which X client offers the clipboard: what tells a clipboard manager's put-back from a
// new copy, where the server can say it.
#pragma once

#include "platform/clipboard.h"

#include <cstdint>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

class X11Clients {
public:
    using Bases = std::vector<std::uint64_t>;

    /** c must outlive this object; every call is a round trip on it. */
    explicit X11Clients(xcb_connection_t* c);
    /** The resource bases of every client connected now, sorted; none without X-Resource. */
    std::optional<Bases> connected() const;
    /** Facts about the client of the owner window; atTake as connected() gave it then. */
    ClipboardContent::Offerer offerer(xcb_window_t owner, const std::optional<Bases>& atTake) const;

private:
    xcb_connection_t* m_c;
    xcb_atom_t m_manager = XCB_NONE;
    // Every window's id starts with its client's resource base.
    std::uint32_t m_baseMask = 0;
    bool m_canList = false;
};
