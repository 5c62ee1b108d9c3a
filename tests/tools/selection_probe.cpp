// Watches and plays the clipboard at the X protocol level, where the order and the
// server times of the changes of owner can be seen:
//   gaps N        empties the clipboard N times and prints how soon, in server time,
//                 an owner (a restoring clipboard manager) took it again;
//   owner NAME    succeeds when the selection NAME has an owner (a clipboard manager
//                 owns CLIPBOARD_MANAGER);
//   watch         prints a line for each change of owner until it is ended, so that a
//                 script can count them ("gone" when the owner quit or its window went);
//   race RATE N   offers RATE changes per second, pictures and texts in turn, N texts in
//                 all, and counts the texts that a reader of pictures emptied away.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <random>
#include <string>
#include <thread>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

using Clock = std::chrono::steady_clock;

struct X {
    xcb_connection_t* c = nullptr;
    xcb_window_t window = XCB_NONE;
    xcb_atom_t clipboard = XCB_NONE, targets = XCB_NONE, png = XCB_NONE, utf8 = XCB_NONE,
               atomType = XCB_NONE;
    std::uint8_t xfixesEvent = 0;

    xcb_atom_t atom(const char* name) {
        auto* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : XCB_NONE;
        std::free(r);
        return a;
    }
    bool open() {
        c = xcb_connect(nullptr, nullptr);
        if (!c || xcb_connection_has_error(c))
            return false;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        clipboard = atom("CLIPBOARD");
        targets = atom("TARGETS");
        png = atom("image/png");
        utf8 = atom("UTF8_STRING");
        atomType = atom("ATOM");
        const auto* ext = xcb_get_extension_data(c, &xcb_xfixes_id);
        if (!ext || !ext->present)
            return false;
        std::free(xcb_xfixes_query_version_reply(
            c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        xfixesEvent = ext->first_event + XCB_XFIXES_SELECTION_NOTIFY;
        xcb_xfixes_select_selection_input(
            c, window, clipboard,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(c);
        return true;
    }
    /** The next event, or null after timeoutMs. */
    xcb_generic_event_t* next(int timeoutMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            if (xcb_generic_event_t* e = xcb_poll_for_event(c))
                return e;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0 || xcb_connection_has_error(c))
                return nullptr;
            pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
            ::poll(&pfd, 1, int(left));
        }
    }
    const xcb_xfixes_selection_notify_event_t* ownerChange(const xcb_generic_event_t* e) const {
        return (e->response_type & 0x7f) == xfixesEvent
                   ? reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(e)
                   : nullptr;
    }
};

int owner(const char* name) {
    X x;
    if (!x.open())
        return 3;
    auto* reply = xcb_get_selection_owner_reply(
        x.c, xcb_get_selection_owner(x.c, x.atom(name)), nullptr);
    const xcb_window_t owner = reply ? reply->owner : XCB_NONE;
    std::free(reply);
    std::printf("0x%x\n", unsigned(owner));
    return owner == XCB_NONE ? 1 : 0;
}

int watch() {
    X x;
    if (!x.open())
        return 3;
    std::printf("watching\n");
    std::fflush(stdout);
    for (;;) {
        xcb_generic_event_t* e = x.next(1000);
        if (xcb_connection_has_error(x.c))
            return 1;
        if (!e)
            continue;
        if (const auto* n = x.ownerChange(e)) {
            const bool gone = n->subtype != XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER;
            std::printf("%s 0x%x at %u\n", gone ? "gone" : "owner", unsigned(n->owner),
                        unsigned(n->timestamp));
            std::fflush(stdout);
        }
        std::free(e);
    }
}

int gaps(int count) {
    X x;
    if (!x.open())
        return 3;
    std::mt19937 random(7);
    std::vector<double> ms;
    int missing = 0;
    for (int i = 0; i < count; ++i) {
        // Settle, then empty whatever is there and wait for it to come back.
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 60));
        while (xcb_generic_event_t* e = xcb_poll_for_event(x.c))
            std::free(e);
        xcb_set_selection_owner(x.c, XCB_NONE, x.clipboard, XCB_CURRENT_TIME);
        xcb_flush(x.c);
        xcb_timestamp_t emptied = 0;
        bool haveEmptied = false, back = false;
        while (xcb_generic_event_t* e = x.next(5000)) {
            const auto* n = x.ownerChange(e);
            if (n && n->owner == XCB_NONE && !haveEmptied &&
                n->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER) {
                emptied = n->timestamp;
                haveEmptied = true;
            } else if (n && n->owner != XCB_NONE && haveEmptied) {
                ms.push_back(double(std::int32_t(n->timestamp - emptied)));
                back = true;
            }
            std::free(e);
            if (back)
                break;
        }
        if (!back)
            ++missing;
    }
    if (ms.empty()) {
        std::printf("no owner took the clipboard back\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("taken back %zu of %d times: min %.0f, median %.0f, 99%% %.0f, max %.0f ms\n",
                ms.size(), count, ms.front(), ms[ms.size() / 2], ms[ms.size() * 99 / 100],
                ms.back());
    return missing == 0 ? 0 : 1;
}

QByteArray pngOf(int n) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(n % 256, (n / 256) % 256, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int race(int rate, int texts) {
    X x;
    if (!x.open())
        return 3;
    struct Offer {
        unsigned int request; // the sequence number of the request that made it
        bool text;
    };
    std::vector<Offer> offers;
    bool owned = false, offeringText = false;
    QByteArray payload;
    int lost = 0, pictures = 0, taken = 0;
    const auto period = std::chrono::microseconds(1000000 / rate);
    auto due = Clock::now();
    int made = 0;
    // The offer a clear event ended: the last one set before the server made it.
    auto offerAt = [&](unsigned int sequence) -> const Offer* {
        const Offer* found = nullptr;
        for (const Offer& o : offers)
            if (int(sequence - o.request) >= 0)
                found = &o;
        return found;
    };
    const auto end = Clock::now() + std::chrono::seconds(5) + period * (2 * texts);
    while (Clock::now() < end) {
        if (Clock::now() >= due && made < 2 * texts) {
            offeringText = made % 2 == 1;
            payload = offeringText ? QByteArray("text ") + QByteArray::number(made) : pngOf(made);
            pictures += offeringText ? 0 : 1;
            const unsigned int seq =
                xcb_set_selection_owner(x.c, x.window, x.clipboard, XCB_CURRENT_TIME).sequence;
            offers.push_back({seq, offeringText});
            owned = true;
            xcb_flush(x.c);
            ++made;
            due += period;
        }
        const int waitMs =
            made < 2 * texts
                ? int(std::max<long>(
                      0, std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now())
                             .count()))
                : 50;
        xcb_generic_event_t* e = x.next(waitMs);
        if (!e)
            continue;
        const int type = e->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            owned = false;
            const Offer* o = offerAt(e->full_sequence);
            if (o && o->text)
                ++lost;
            else if (o)
                ++taken;
        } else if (type == XCB_SELECTION_REQUEST) {
            auto* r = reinterpret_cast<xcb_selection_request_event_t*>(e);
            xcb_atom_t property = r->property == XCB_NONE ? r->target : r->property;
            if (!owned) {
                property = XCB_NONE;
            } else if (r->target == x.targets) {
                const xcb_atom_t list[] = {x.targets, offeringText ? x.utf8 : x.png};
                xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, r->requestor, property, x.atomType,
                                    32, 2, list);
            } else if (r->target == (offeringText ? x.utf8 : x.png)) {
                xcb_change_property(x.c, XCB_PROP_MODE_REPLACE, r->requestor, property, r->target,
                                    8, uint32_t(payload.size()), payload.constData());
            } else {
                property = XCB_NONE;
            }
            xcb_selection_notify_event_t n{};
            n.response_type = XCB_SELECTION_NOTIFY;
            n.time = r->time;
            n.requestor = r->requestor;
            n.selection = r->selection;
            n.target = r->target;
            n.property = property;
            xcb_send_event(x.c, 0, r->requestor, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&n));
            xcb_flush(x.c);
        }
        std::free(e);
    }
    std::printf(
        "%d changes per second: %d of %d texts emptied away (%.2f%%); %d of %d pictures taken\n",
        rate, lost, texts, 100.0 * lost / texts, taken, pictures);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "gaps" && argc == 3)
        return gaps(std::atoi(argv[2]));
    if (mode == "owner" && argc == 3)
        return owner(argv[2]);
    if (mode == "watch" && argc == 2)
        return watch();
    if (mode == "race" && argc == 4)
        return race(std::atoi(argv[2]), std::atoi(argv[3]));
    std::fprintf(stderr, "selection_probe gaps N | owner NAME | watch | race RATE TEXTS\n");
    return 2;
}
