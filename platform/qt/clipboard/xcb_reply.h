// xcb hands out replies and events in memory the caller frees.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XPtr = std::unique_ptr<T, XcbFree>;

/** The atom of name, XCB_NONE when the server has none (or, onlyIfExists, has not made
    one yet). Waits for the server's answer. */
inline xcb_atom_t internAtom(xcb_connection_t* c, const char* name, bool onlyIfExists = false) {
    XPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, onlyIfExists, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_NONE);
}
