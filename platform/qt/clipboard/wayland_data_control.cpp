#include "platform/qt/clipboard/wayland_data_control.h"

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <wayland-client.h>

namespace data_control {

#define PICTAVO_DATA_CONTROL(P, VERSION)                                                           \
    DataControl {                                                                                  \
        &P##_manager_v1_interface, VERSION,                                                        \
            [](void* manager, wl_seat* seat, Events* events) -> void* {                            \
                auto* device =                                                                     \
                    P##_manager_v1_get_data_device(static_cast<P##_manager_v1*>(manager), seat);   \
                static const P##_device_v1_listener listener = {                                   \
                    [](void* e, P##_device_v1*, P##_offer_v1* o) {                                 \
                        static_cast<Events*>(e)->dataOffer(o);                                     \
                    },                                                                             \
                    [](void* e, P##_device_v1*, P##_offer_v1* o) {                                 \
                        static_cast<Events*>(e)->selection(o);                                     \
                    },                                                                             \
                    [](void* e, P##_device_v1*) { static_cast<Events*>(e)->finished(); },          \
                    [](void* e, P##_device_v1*, P##_offer_v1* o) {                                 \
                        static_cast<Events*>(e)->primarySelection(o);                              \
                    }};                                                                            \
                P##_device_v1_add_listener(device, &listener, events);                             \
                return device;                                                                     \
            },                                                                                     \
            [](void* manager, Events* events) -> void* {                                           \
                auto* source =                                                                     \
                    P##_manager_v1_create_data_source(static_cast<P##_manager_v1*>(manager));      \
                static const P##_source_v1_listener listener = {                                   \
                    [](void* e, P##_source_v1* s, const char* type, int32_t fd) {                  \
                        static_cast<Events*>(e)->send(s, type, fd);                                \
                    },                                                                             \
                    [](void* e, P##_source_v1* s) { static_cast<Events*>(e)->cancelled(s); }};     \
                P##_source_v1_add_listener(source, &listener, events);                             \
                return source;                                                                     \
            },                                                                                     \
            [](void* m) { P##_manager_v1_destroy(static_cast<P##_manager_v1*>(m)); },              \
            [](void* d, void* s) {                                                                 \
                P##_device_v1_set_selection(static_cast<P##_device_v1*>(d),                        \
                                            static_cast<P##_source_v1*>(s));                       \
            },                                                                                     \
            [](void* d) { P##_device_v1_destroy(static_cast<P##_device_v1*>(d)); },                \
            [](void* s, const char* type) {                                                        \
                P##_source_v1_offer(static_cast<P##_source_v1*>(s), type);                         \
            },                                                                                     \
            [](void* s) { P##_source_v1_destroy(static_cast<P##_source_v1*>(s)); },                \
            [](void* o, const char* type, int fd) {                                                \
                P##_offer_v1_receive(static_cast<P##_offer_v1*>(o), type, fd);                     \
            },                                                                                     \
            [](void* o, Offer* into) {                                                             \
                static const P##_offer_v1_listener listener = {                                    \
                    [](void* i, P##_offer_v1*, const char* type) {                                 \
                        static_cast<Offer*>(i)->types.emplace_back(type);                          \
                    }};                                                                            \
                P##_offer_v1_add_listener(static_cast<P##_offer_v1*>(o), &listener, into);         \
            },                                                                                     \
            [](void* o) { P##_offer_v1_destroy(static_cast<P##_offer_v1*>(o)); },                  \
    }

// The standard name first: a compositor that offers both means it as the one to use.
const DataControl kProtocols[2] = {PICTAVO_DATA_CONTROL(ext_data_control, 1),
                                   PICTAVO_DATA_CONTROL(zwlr_data_control, 2)};
} // namespace data_control
