// Plays a Wayland program that owns the selection, through a clipboard-manager protocol so
// that it needs no focus: it hands the data over whole (with plain blocking writes), slowly,
// one byte every 2.5 s (drip), dies half-way, or never writes; offers it among 3000 made-up
// types of nearly 4 kB each (flood); or, as a clipboard manager does, puts it back at once
// whenever the selection is emptied (restore), and ends when another replaces it.
//   wl_owner serve|slow|drip|die|silent|flood|restore MIME FILE
// It speaks whichever of the two protocols the compositor offers, the standard one first, as
// the program does; WL_OWNER_PROTOCOL=wlr or ext insists on one.
// Prints "protocol NAME" once bound, "owned" once the selection is its own, and "sending"
// when asked for the data.
#include "platform/qt/clipboard/wayland_data_control.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace {

using data_control::DataControl;

std::string g_mode;
std::string g_type;
std::vector<char> g_data;
std::vector<int> g_held;
wl_display* g_display = nullptr;
wl_seat* g_seat = nullptr;
const DataControl* g_protocol = nullptr;
std::uint32_t g_managerName = 0;
std::uint32_t g_managerVersion = 0;
void* g_manager = nullptr;
void* g_device = nullptr;
bool g_lost = false;

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void writeAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w <= 0)
            return;
        p += w;
        n -= size_t(w);
    }
}

void offerSource();

class Owner final : public data_control::Events {
public:
    // An offer matters only as there being one or none: each is let go when a selection
    // names it.
    void dataOffer(void*) override {}
    void primarySelection(void* offer) override {
        if (offer)
            g_protocol->destroyOffer(offer);
    }
    void finished() override { _exit(1); }

    void selection(void* offer) override {
        if (offer)
            g_protocol->destroyOffer(offer);
        if (!g_lost)
            return;
        g_lost = false;
        if (offer)
            _exit(0);
        say("restoring");
        offerSource();
    }

    void send(void*, const char* type, int fd) override {
        say("sending");
        if (g_type != type) {
            ::close(fd);
            return;
        }
        if (g_mode == "silent") {
            g_held.push_back(fd); // open and silent: the reader sees neither data nor an end
            return;
        }
        if (g_mode == "die") {
            writeAll(fd, g_data.data(), g_data.size() / 2);
            _exit(3);
        }
        if (g_mode == "drip") {
            // Each byte just within a reader's patience for progress; a reader that gives up
            // leaves it to its next request.
            for (size_t at = 0; at < g_data.size(); ++at) {
                if (::write(fd, g_data.data() + at, 1) != 1)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            }
        } else if (g_mode == "slow") {
            const size_t piece = g_data.size() / 20 + 1;
            for (size_t at = 0; at < g_data.size(); at += piece) {
                writeAll(fd, g_data.data() + at, std::min(piece, g_data.size() - at));
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        } else {
            writeAll(fd, g_data.data(), g_data.size());
        }
        ::close(fd);
    }

    void cancelled(void* source) override {
        say("cancelled");
        if (g_mode != "restore")
            _exit(0);
        g_protocol->destroySource(source);
        g_lost = true; // the next selection event tells emptied from replaced
    }
};

Owner g_owner;

void offerSource() {
    void* source = g_protocol->createSource(g_manager, &g_owner);
    if (g_mode == "flood") {
        const std::string filler(3900, 'x');
        for (int i = 0; i < 3000; ++i) {
            g_protocol->offerType(
                source, ("application/x-flood-" + std::to_string(i) + "-" + filler).c_str());
            if (i % 16 == 15)
                wl_display_roundtrip(g_display); // our own buffer holds only a few
        }
    }
    g_protocol->offerType(source, g_type.c_str());
    g_protocol->setSelection(g_device, source);
}

bool wanted(const DataControl& p) {
    const char* only = std::getenv("WL_OWNER_PROTOCOL");
    if (only == nullptr || *only == '\0')
        return true;
    const bool ext = std::strncmp(p.manager->name, "ext_", 4) == 0;
    return std::strcmp(only, ext ? "ext" : "wlr") == 0;
}

void global(void*, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
    if (!g_seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        g_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    for (const DataControl& p : data_control::kProtocols) {
        // The table lists the preferred first: a later one never replaces it.
        if (std::strcmp(interface, p.manager->name) != 0 || !wanted(p))
            continue;
        if (!g_protocol || &p < g_protocol) {
            g_protocol = &p;
            g_managerName = name;
            g_managerVersion = version;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: wl_owner serve|slow|drip|die|silent|flood|restore MIME FILE\n");
        return 2;
    }
    g_mode = argv[1];
    std::signal(SIGPIPE, SIG_IGN); // a reader that went away is not the owner's end
    g_type = argv[2];
    std::ifstream in(argv[3], std::ios::binary);
    g_data.assign(std::istreambuf_iterator<char>(in), {});
    wl_display* display = g_display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wl_owner: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    static const wl_registry_listener registryListener = {global,
                                                          [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!g_seat || !g_protocol) {
        std::fprintf(stderr, "wl_owner: the compositor offers no data-control\n");
        return 1;
    }
    g_manager = wl_registry_bind(registry, g_managerName, g_protocol->manager,
                                 std::min(g_managerVersion, g_protocol->maxVersion));
    std::printf("protocol %s\n", g_protocol->manager->name);
    g_device = g_protocol->getDevice(g_manager, g_seat, &g_owner);
    offerSource();
    wl_display_roundtrip(display);
    say("owned");
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
