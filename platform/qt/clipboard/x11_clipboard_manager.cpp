#include "platform/qt/clipboard/x11_clipboard_manager.h"

#include "platform/qt/clipboard/clipboard_image.h"
#include "platform/qt/clipboard/x11_presses.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

class X11ClipboardManager::Connection {
public:
    Connection(const Limits& limits, std::function<void()> saveRequested,
               std::function<void()> ownerChanged, X11Presses* presses)
        : m_limits(limits), m_saveRequested(std::move(saveRequested)),
          m_ownerChanged(std::move(ownerChanged)), m_presses(presses) {
        m_c = xcb_connect(nullptr, nullptr);
        if (!m_c || xcb_connection_has_error(m_c))
            return;
        const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(m_c, &xcb_xfixes_id);
        // Without announcements of owners we could neither wait for the picture to be
        // taken nor notice when another manager leaves.
        if (!xfixes || !xfixes->present)
            return;
        std::free(xcb_xfixes_query_version_reply(
            m_c, xcb_xfixes_query_version(m_c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        m_xfixesEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_root = screen->root;
        m_window = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        m_managerSelection = atom("CLIPBOARD_MANAGER");
        m_clipboard = atom("CLIPBOARD");
        m_targets = atom("TARGETS");
        m_saveTargets = atom("SAVE_TARGETS");
        m_null = atom("NULL");
        m_managerMessage = atom("MANAGER");
        m_typesProperty = atom("PICTAVO_MANAGER_TYPES");
        for (const QByteArray& name : clipboardImageTypes())
            m_imageTypes.push_back(atom(name.constData()));
        const uint32_t events = XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE;
        xcb_xfixes_select_selection_input(m_c, m_window, m_managerSelection, events);
        xcb_xfixes_select_selection_input(m_c, m_window, m_clipboard, events);
        // This thread reads every event as it comes, so it keeps the presses too.
        if (m_presses && !m_presses->watch(m_c, m_root))
            m_presses = nullptr;
        xcb_flush(m_c);
        m_ok = !xcb_connection_has_error(m_c);
    }
    ~Connection() {
        if (m_c)
            xcb_disconnect(m_c);
    }
    bool ok() const { return m_ok; }

    /** Becomes the manager if nobody is; true while we are. */
    bool takeIfFree() {
        if (ownerOf(m_managerSelection) != XCB_NONE)
            return m_owned = ownerOf(m_managerSelection) == m_window;
        xcb_set_selection_owner(m_c, m_window, m_managerSelection, XCB_CURRENT_TIME);
        m_owned = ownerOf(m_managerSelection) == m_window;
        if (m_owned) {
            // Announced on the root window, as managers of a selection are.
            xcb_client_message_event_t ev{};
            ev.response_type = XCB_CLIENT_MESSAGE;
            ev.format = 32;
            ev.window = m_root;
            ev.type = m_managerMessage;
            ev.data.data32[0] = XCB_CURRENT_TIME;
            ev.data.data32[1] = m_managerSelection;
            ev.data.data32[2] = m_window;
            xcb_send_event(m_c, 0, m_root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&ev));
            xcb_flush(m_c);
        }
        return m_owned;
    }

    /** Handles what arrives, waiting for it (or for wakeFd) no longer than a waiting
        tool's deadline: an idle program sleeps until X wakes it. False once the
        connection is lost. */
    bool step(int wakeFd) {
        int waitMs = -1;
        for (const Save& s : m_saves) {
            const int left = std::max<int>(
                0,
                int(std::chrono::duration_cast<std::chrono::milliseconds>(s.deadline - Clock::now())
                        .count()));
            waitMs = waitMs < 0 ? left : std::min(waitMs, left);
        }
        // Events read in with an earlier reply wait in xcb's queue, not on the socket.
        xcb_generic_event_t* first = xcb_poll_for_queued_event(m_c);
        if (!first) {
            xcb_flush(m_c);
            pollfd pfd[2] = {{xcb_get_file_descriptor(m_c), POLLIN, 0}, {wakeFd, POLLIN, 0}};
            ::poll(pfd, 2, waitMs);
            first = xcb_poll_for_event(m_c);
        }
        for (xcb_generic_event_t* raw = first; raw; raw = xcb_poll_for_event(m_c)) {
            XPtr<xcb_generic_event_t> ev(raw);
            handle(ev.get());
        }
        const auto now = Clock::now();
        for (size_t i = 0; i < m_saves.size();) {
            if (m_saves[i].deadline <= now)
                answer(i, false); // not taken in time: the tool may quit all the same
            else
                ++i;
        }
        xcb_flush(m_c);
        return !xcb_connection_has_error(m_c);
    }

    /** Lets every waiting tool go, before we leave. */
    void refuseAll() {
        while (!m_saves.empty())
            answer(0, false);
        xcb_flush(m_c);
    }

private:
    struct Save {
        xcb_selection_request_event_t request;
        xcb_window_t clipboardOwner; // the owner whose picture is to be taken
        Clock::time_point deadline;
    };

    xcb_atom_t atom(const char* name) { return internAtom(m_c, name); }

    xcb_window_t ownerOf(xcb_atom_t selection) {
        XPtr<xcb_get_selection_owner_reply_t> reply(
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, selection), nullptr));
        return reply ? reply->owner : XCB_NONE;
    }

    void handle(const xcb_generic_event_t* ev) {
        const int kind = ev->response_type & 0x7f;
        if (m_presses)
            m_presses->note(ev);
        if (kind == m_xfixesEvent) {
            const auto* n = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(ev);
            // Every press before this change of owner has been read.
            if (m_presses && n->selection == m_clipboard)
                m_presses->reached(n->timestamp);
            // A window that was destroyed or whose program ended owns nothing any more.
            const xcb_window_t owner =
                n->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER ? n->owner : XCB_NONE;
            if (n->selection == m_managerSelection) {
                if (owner == XCB_NONE)
                    takeIfFree(); // the desktop's manager left: stand in again
                else
                    m_owned = owner == m_window;
            } else if (n->selection == m_clipboard) {
                clipboardChanged(owner);
                if (m_ownerChanged)
                    m_ownerChanged();
            }
        } else if (kind == XCB_SELECTION_CLEAR) {
            const auto* c = reinterpret_cast<const xcb_selection_clear_event_t*>(ev);
            if (c->selection == m_managerSelection) {
                m_owned = false; // another manager took over
                refuseAll();
            }
        } else if (kind == XCB_SELECTION_REQUEST) {
            request(*reinterpret_cast<const xcb_selection_request_event_t*>(ev));
        } else if (kind == XCB_SELECTION_NOTIFY) {
            const auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(ev);
            if (n->requestor == m_window && n->target == m_targets && n->property != XCB_NONE &&
                !offersImage()) {
                // Text and the like are not ours to keep; holding the program back until
                // the deadline would only slow its quitting.
                while (!m_saves.empty())
                    answer(0, false);
            }
        }
    }

    /** Reads the answer to our question for the clipboard's types. */
    bool offersImage() {
        XPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_c, xcb_get_property(m_c, 1, m_window, m_typesProperty, XCB_ATOM_ATOM, 0, 4096),
            nullptr));
        if (!reply || reply->format != 32)
            return true; // unknown: the deadline decides
        const auto* offered = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / 4;
        for (int i = 0; i < count; ++i) {
            if (std::find(m_imageTypes.begin(), m_imageTypes.end(), offered[i]) !=
                m_imageTypes.end())
                return true;
        }
        return false;
    }

    void request(const xcb_selection_request_event_t& r) {
        // Old clients name no property: the target stands for it.
        const xcb_atom_t property = r.property == XCB_NONE ? r.target : r.property;
        if (r.selection != m_managerSelection || !m_owned) {
            notify(r, XCB_NONE);
        } else if (r.target == m_targets) {
            const xcb_atom_t offered[] = {m_targets, m_saveTargets};
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, r.requestor, property, XCB_ATOM_ATOM,
                                32, 2, offered);
            notify(r, property);
        } else if (r.target == m_saveTargets) {
            const xcb_window_t owner = ownerOf(m_clipboard);
            m_saves.push_back(
                {r, owner, Clock::now() + std::chrono::milliseconds(m_limits.saveMs)});
            if (owner == XCB_NONE) {
                answer(m_saves.size() - 1, true); // taken already, or nothing to keep
                return;
            }
            if (m_saveRequested)
                m_saveRequested();
            xcb_convert_selection(m_c, m_window, m_clipboard, m_targets, m_typesProperty,
                                  XCB_CURRENT_TIME);
        } else {
            notify(r, XCB_NONE);
        }
    }

    void clipboardChanged(xcb_window_t owner) {
        for (size_t i = 0; i < m_saves.size();) {
            if (owner == m_saves[i].clipboardOwner) {
                ++i; // the same owner again: still waiting for the look
            } else {
                // Emptied: the picture was taken. Another owner: a newer copy replaced
                // it before it could be, and the tool's picture is not kept.
                answer(i, owner == XCB_NONE);
            }
        }
    }

    void answer(size_t i, bool kept) {
        const xcb_selection_request_event_t r = m_saves[i].request;
        m_saves.erase(m_saves.begin() + std::ptrdiff_t(i));
        const xcb_atom_t property = r.property == XCB_NONE ? r.target : r.property;
        if (kept) {
            // A target with a side effect answers with an empty property of type NULL.
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, r.requestor, property, m_null, 32, 0,
                                nullptr);
        }
        notify(r, kept ? property : XCB_NONE);
    }

    void notify(const xcb_selection_request_event_t& r, xcb_atom_t property) {
        xcb_selection_notify_event_t n{};
        n.response_type = XCB_SELECTION_NOTIFY;
        n.time = r.time;
        n.requestor = r.requestor;
        n.selection = r.selection;
        n.target = r.target;
        n.property = property;
        xcb_send_event(m_c, 0, r.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&n));
        xcb_flush(m_c);
    }

    Limits m_limits;
    std::function<void()> m_saveRequested;
    std::function<void()> m_ownerChanged;
    X11Presses* m_presses;
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_root = XCB_NONE, m_window = XCB_NONE;
    xcb_atom_t m_managerSelection = XCB_NONE, m_clipboard = XCB_NONE, m_targets = XCB_NONE,
               m_saveTargets = XCB_NONE, m_null = XCB_NONE, m_managerMessage = XCB_NONE,
               m_typesProperty = XCB_NONE;
    std::vector<xcb_atom_t> m_imageTypes;
    std::uint8_t m_xfixesEvent = 0;
    std::vector<Save> m_saves;
    bool m_owned = false;
    bool m_ok = false;

public:
    bool owned() const { return m_owned; }
};

X11ClipboardManager::X11ClipboardManager() : X11ClipboardManager(Limits{}) {}

X11ClipboardManager::X11ClipboardManager(Limits limits, X11Presses* presses)
    : m_limits(limits),
      m_x(std::make_unique<Connection>(
          limits,
          // Queued to this object: dropped if the manager is gone by then.
          [this] {
              QMetaObject::invokeMethod(
                  this, [this] { emit saveRequested(); }, Qt::QueuedConnection);
          },
          [this] {
              QMetaObject::invokeMethod(
                  this, [this] { emit clipboardChanged(); }, Qt::QueuedConnection);
          },
          presses)) {
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_x->ok() && m_wakeFd >= 0)
        m_thread = std::thread([this] { run(); });
}

X11ClipboardManager::~X11ClipboardManager() {
    m_stop = true;
    if (m_wakeFd >= 0)
        eventfd_write(m_wakeFd, 1);
    if (m_thread.joinable())
        m_thread.join();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool X11ClipboardManager::isConnected() const {
    return m_x->ok();
}

void X11ClipboardManager::run() {
    m_manager = m_x->takeIfFree();
    while (!m_stop) {
        if (!m_x->step(m_wakeFd))
            break;
        m_manager = m_x->owned();
    }
    m_x->refuseAll();
    m_manager = false;
}
