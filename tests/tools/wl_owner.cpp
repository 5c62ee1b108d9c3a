// Plays a Wayland program that owns the selection, through the clipboard-manager
// protocol so that it needs no focus: it hands the data over whole (with plain blocking
// writes), slowly, one byte every 2.5 s (drip), dies half-way, or never writes; offers it
// among 3000 long made-up types (flood); or, as a clipboard manager does, puts it back at
// once whenever the selection is emptied (restore), and ends when another replaces it.
//   wl_owner serve|slow|drip|die|silent|flood|restore MIME FILE
// Prints "owned" once the selection is its own, and "sending" when asked for the data.
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace {

std::string g_mode;
std::string g_type;
std::vector<char> g_data;
std::vector<int> g_held;
wl_display* g_display = nullptr;
wl_seat* g_seat = nullptr;
zwlr_data_control_manager_v1* g_manager = nullptr;
zwlr_data_control_device_v1* g_device = nullptr;
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

void send(void*, zwlr_data_control_source_v1*, const char* type, int32_t fd) {
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

void offerSource();

void cancelled(void*, zwlr_data_control_source_v1* source) {
    say("cancelled");
    if (g_mode != "restore")
        _exit(0);
    zwlr_data_control_source_v1_destroy(source);
    g_lost = true; // the next selection event tells emptied from replaced
}

void selection(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer)
        zwlr_data_control_offer_v1_destroy(offer);
    if (!g_lost)
        return;
    g_lost = false;
    if (offer)
        _exit(0);
    say("restoring");
    offerSource();
}

void offerSource() {
    auto* source = zwlr_data_control_manager_v1_create_data_source(g_manager);
    static const zwlr_data_control_source_v1_listener sourceListener = {send, cancelled};
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, nullptr);
    if (g_mode == "flood") {
        const std::string filler(180, 'x');
        for (int i = 0; i < 3000; ++i) {
            zwlr_data_control_source_v1_offer(
                source, ("application/x-flood-" + std::to_string(i) + "-" + filler).c_str());
            if (i % 16 == 15)
                wl_display_roundtrip(g_display); // our own buffer holds only a few
        }
    }
    zwlr_data_control_source_v1_offer(source, g_type.c_str());
    zwlr_data_control_device_v1_set_selection(g_device, source);
}

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (!g_seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        g_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        g_manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
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
    if (!g_seat || !g_manager) {
        std::fprintf(stderr, "wl_owner: the compositor offers no data-control\n");
        return 1;
    }
    g_device = zwlr_data_control_manager_v1_get_data_device(g_manager, g_seat);
    static const zwlr_data_control_device_v1_listener deviceListener = {
        [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}, selection,
        [](void*, zwlr_data_control_device_v1*) { _exit(1); }, nullptr};
    zwlr_data_control_device_v1_add_listener(g_device, &deviceListener, nullptr);
    offerSource();
    wl_display_roundtrip(display);
    say("owned");
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
