#include "platform/qt/clipboard/x11_presses.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <chrono>
#include <xcb/xinput.h>

namespace {
// Server times wrap after 49 days; their difference does not.
bool later(xcb_timestamp_t a, xcb_timestamp_t b) {
    return std::int32_t(a - b) > 0;
}
constexpr std::size_t kKept = 64;
} // namespace

bool X11Presses::watch(xcb_connection_t* c, xcb_window_t root) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_input_id);
    if (!ext || !ext->present)
        return false;
    // Raw events reach every client that asks, whatever has the focus or a grab, from 2.1.
    XPtr<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < 1))
        return false;
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t mask;
    } select{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
             XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS};
    XPtr<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_input_xi_select_events_checked(c, root, 1, &select.head)));
    if (error)
        return false;
    std::lock_guard lock(m_lock);
    m_opcode = ext->major_opcode;
    m_watching = true;
    return true;
}

void X11Presses::note(const xcb_generic_event_t* ev) {
    if ((ev->response_type & 0x7f) != XCB_GE_GENERIC)
        return;
    const auto* ge = reinterpret_cast<const xcb_ge_generic_event_t*>(ev);
    if (ge->extension != m_opcode ||
        (ge->event_type != XCB_INPUT_RAW_KEY_PRESS && ge->event_type != XCB_INPUT_RAW_BUTTON_PRESS))
        return;
    const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(ev);
    {
        std::lock_guard lock(m_lock);
        m_presses.push_back(raw->time);
        if (m_presses.size() > kKept)
            m_presses.pop_front();
        if (!m_reachedAny || later(raw->time, m_reached))
            m_reached = raw->time;
        m_reachedAny = true;
    }
    m_advanced.notify_all();
}

void X11Presses::reached(xcb_timestamp_t time) {
    {
        std::lock_guard lock(m_lock);
        if (!m_reachedAny || later(time, m_reached))
            m_reached = time;
        m_reachedAny = true;
    }
    m_advanced.notify_all();
}

ClipboardContent::Pressed X11Presses::between(xcb_timestamp_t after, xcb_timestamp_t upTo,
                                              int waitMs) const {
    using Pressed = ClipboardContent::Pressed;
    std::unique_lock lock(m_lock);
    if (!m_watching)
        return Pressed::Unknown;
    const bool caughtUp = m_advanced.wait_for(lock, std::chrono::milliseconds(waitMs), [&] {
        return m_reachedAny && !later(upTo, m_reached);
    });
    for (const xcb_timestamp_t t : m_presses) {
        if (later(t, after) && !later(t, upTo))
            return Pressed::Yes;
    }
    return caughtUp ? Pressed::No : Pressed::Unknown;
}
