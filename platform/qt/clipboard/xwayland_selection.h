// Tells whether the X clipboard is held by the compositor for a Wayland program: then it
// only mirrors the Wayland selection, which is watched on its own.
#pragma once

#include <cstdint>

struct xcb_connection_t;

class XWaylandSelection {
public:
    XWaylandSelection();
    ~XWaylandSelection();
    XWaylandSelection(const XWaylandSelection&) = delete;
    XWaylandSelection& operator=(const XWaylandSelection&) = delete;

    /** True when the window manager's own client owns the X clipboard. */
    bool ownedByCompositor();

private:
    xcb_connection_t* m_c = nullptr;
    std::uint32_t m_clipboard = 0;
    std::uint32_t m_wmCheck = 0;
    std::uint32_t m_idMask = 0;
};
