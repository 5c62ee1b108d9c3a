// The two clipboard-manager protocols (wlroots' and the standard one) carry the same
// messages under two names; a table for each lets one session speak either.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

struct wl_interface;
struct wl_seat;

namespace data_control {

struct Offer {
    void* proxy = nullptr;
    std::vector<QByteArray> types;
};

/** What the session needs to hear from the compositor. */
class Events {
public:
    virtual ~Events() = default;
    virtual void dataOffer(void* offer) = 0;
    virtual void selection(void* offer) = 0;
    virtual void primarySelection(void* offer) = 0;
    virtual void finished() = 0;
    virtual void send(void* source, const char* mimeType, int fd) = 0;
    virtual void cancelled(void* source) = 0;
};

/** The two clipboard-manager protocols are the same messages under two names; this
    table lets one session speak either. */
struct DataControl {
    const wl_interface* manager;
    std::uint32_t maxVersion;
    void* (*getDevice)(void* manager, wl_seat* seat, Events* events);
    void* (*createSource)(void* manager, Events* events);
    void (*destroyManager)(void* manager);
    void (*setSelection)(void* device, void* source);
    void (*destroyDevice)(void* device);
    void (*offerType)(void* source, const char* mimeType);
    void (*destroySource)(void* source);
    void (*receive)(void* offer, const char* mimeType, int fd);
    void (*listenOffer)(void* offer, Offer* into);
    void (*destroyOffer)(void* offer);
};
/** The protocols this program speaks, the preferred first. */
extern const DataControl kProtocols[2];

} // namespace data_control
