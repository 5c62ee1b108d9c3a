// When keys and mouse buttons were pressed, as the X server tells any client that asks
// (the signal screen savers use), without where or which: a person's copy follows a
// press, a clipboard manager's put-back follows only the emptying it answers.
#pragma once

#include "platform/clipboard.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <xcb/xcb.h>

class X11Presses {
public:
    /** Asks c's server for every press; false without XInput 2. Call on the thread that
        reads c's events, and pass them all to note(). */
    bool watch(xcb_connection_t* c, xcb_window_t root);
    /** Notes a press, and how far in server time the events read have come. */
    void note(const xcb_generic_event_t* ev);
    /** The events read have come this far: the caller saw a change of the clipboard's
        owner at that server time. */
    void reached(xcb_timestamp_t time);

    /** Whether a press came after `after` and no later than `upTo` (server times). Waits up
        to waitMs for the events up to upTo to be read; Unknown if they are not by then, or
        where presses are not watched. Any thread. */
    ClipboardContent::Pressed between(xcb_timestamp_t after, xcb_timestamp_t upTo,
                                      int waitMs) const;

private:
    mutable std::mutex m_lock;
    mutable std::condition_variable m_advanced;
    bool m_watching = false;
    std::uint8_t m_opcode = 0;
    std::deque<xcb_timestamp_t> m_presses; // the latest, oldest first
    xcb_timestamp_t m_reached = 0;
    bool m_reachedAny = false;
};
