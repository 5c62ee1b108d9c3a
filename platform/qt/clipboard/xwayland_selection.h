// The X clipboard as XWayland shows it to the compositor: tells whether the compositor holds
// it for a Wayland program (then it only mirrors the Wayland selection), and can hold it
// empty, offering no picture, where the compositor makes the X selection the Wayland one.
#pragma once

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <cstdint>
#include <memory>

struct xcb_connection_t;

class XWaylandSelection {
public:
    XWaylandSelection();
    ~XWaylandSelection();
    XWaylandSelection(const XWaylandSelection&) = delete;
    XWaylandSelection& operator=(const XWaylandSelection&) = delete;

    /** True when the window manager's own client owns the X clipboard. */
    bool ownedByCompositor();
    /** Takes the clipboard, offering nothing, as soon as it is seen empty within a short
        while; a newer owner that comes first is left alone. A compositor without a
        clipboard-manager protocol (mutter) keeps a Wayland copy after the X side is
        emptied, and its clipboard manager brings it back when the copier quits; an X
        owner of nothing replaces the copy on both sides. */
    void holdEmptyOnceEmptied();
    /** True while we hold the clipboard empty, as the server sees it now. */
    bool holdingEmpty();

private:
    void dispatch();
    // Both take an xcb event.
    void handle(const void* event);
    void answer(const void* event);

    xcb_connection_t* m_c = nullptr;
    std::uint32_t m_clipboard = 0;
    std::uint32_t m_targets = 0;
    std::uint32_t m_timestamp = 0;
    std::uint32_t m_wmCheck = 0;
    std::uint32_t m_idMask = 0;
    std::uint32_t m_window = 0;
    std::uint8_t m_xfixesEvent = 0;
    std::uint32_t m_heldSince = 0;
    bool m_holding = false;
    QElapsedTimer m_holdWanted;
    std::unique_ptr<QSocketNotifier> m_events;
};
