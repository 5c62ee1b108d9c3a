// Which program offers the clipboard: what tells a clipboard manager's put-back from a
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
    /** Who was connected at a moment: the processes that opened the connections (a program
        that forks after connecting, as xclip does, keeps its parent's), and the clients'
        resource bases, which the server hands on to the next client. Each sorted. */
    struct Connected {
        std::optional<Bases> pids;
        std::optional<Bases> bases;
    };
    /** The program behind a client: the process that connected where the server names it
        (and when it started, in clock ticks since boot, while it runs), else its base. */
    struct Program {
        std::uint64_t id = 0;
        std::optional<std::uint32_t> pid;
        std::optional<std::uint64_t> startTicks;
        bool ours = false; // this process
    };

    /** c must outlive this object; every call is a round trip on it. */
    explicit X11Clients(xcb_connection_t* c);
    /** Every client connected now; nothing known without X-Resource. */
    Connected connected() const;
    /** The program behind a window; by its client's base alone where the server or /proc
        cannot name the process (the server hands a finished client's base to the next). */
    Program programOf(xcb_window_t window) const;
    /** Facts about the program of the owner window. atTake is as connected() gave it at
        the look that read the last picture taken, ticksAtTake the boot clock then. */

    ClipboardContent::Offerer offerer(xcb_window_t owner, const Connected& atTake,
                                      std::optional<std::uint64_t> ticksAtTake) const;

    /** The boot clock in the ticks /proc counts process start times in. */
    static std::uint64_t bootTicks();

private:
    xcb_connection_t* m_c;
    xcb_atom_t m_manager = XCB_NONE;
    // Every window's id starts with its client's resource base.
    std::uint32_t m_baseMask = 0;
    bool m_canList = false;
    bool m_canNamePids = false;
};
