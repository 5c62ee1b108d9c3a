#include "platform/qt/clipboard/x11_clients.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <xcb/res.h>

namespace {

// Field 22 of /proc/PID/stat; the name before it may hold spaces and parentheses.
std::optional<std::uint64_t> processStartTicks(std::uint32_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!in || !std::getline(in, stat))
        return std::nullopt;
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i) {
        if (!(fields >> field))
            return std::nullopt;
    }
    char* end = nullptr;
    const unsigned long long ticks = std::strtoull(field.c_str(), &end, 10);
    if (!end || *end != '\0')
        return std::nullopt;
    return std::uint64_t(ticks);
}

} // namespace

X11Clients::X11Clients(xcb_connection_t* c) : m_c(c) {
    m_manager = internAtom(m_c, "CLIPBOARD_MANAGER");
    m_baseMask = ~xcb_get_setup(m_c)->resource_id_mask;
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(m_c, &xcb_res_id);
    if (res && res->present) {
        XPtr<xcb_res_query_version_reply_t> version(xcb_res_query_version_reply(
            m_c, xcb_res_query_version(m_c, XCB_RES_MAJOR_VERSION, XCB_RES_MINOR_VERSION),
            nullptr));
        m_canList = version != nullptr;
        // Process ids came with version 1.2.
        m_canNamePids = version && (version->server_major > 1 ||
                                    (version->server_major == 1 && version->server_minor >= 2));
    }
}

std::uint64_t X11Clients::bootTicks() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long hz = sysconf(_SC_CLK_TCK);
    const std::uint64_t perSecond = hz > 0 ? std::uint64_t(hz) : 100;
    return std::uint64_t(now.tv_sec) * perSecond +
           std::uint64_t(now.tv_nsec) / (1000000000ULL / perSecond);
}

X11Clients::Connected X11Clients::connected() const {
    Connected now;
    if (!m_canList)
        return now;
    XPtr<xcb_res_query_clients_reply_t> reply(
        xcb_res_query_clients_reply(m_c, xcb_res_query_clients(m_c), nullptr));
    if (reply) {
        Bases bases;
        for (auto it = xcb_res_query_clients_clients_iterator(reply.get()); it.rem;
             xcb_res_client_next(&it))
            bases.push_back(it.data->resource_base & m_baseMask);
        std::sort(bases.begin(), bases.end());
        now.bases = std::move(bases);
    }
    if (!m_canNamePids)
        return now;
    // No client named: every client's process.
    xcb_res_client_id_spec_t all{0, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    XPtr<xcb_res_query_client_ids_reply_t> ids(
        xcb_res_query_client_ids_reply(m_c, xcb_res_query_client_ids(m_c, 1, &all), nullptr));
    if (ids) {
        Bases pids;
        for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); it.rem;
             xcb_res_client_id_value_next(&it)) {
            if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) &&
                xcb_res_client_id_value_value_length(it.data) >= 1)
                pids.push_back(*xcb_res_client_id_value_value(it.data));
        }
        std::sort(pids.begin(), pids.end());
        now.pids = std::move(pids);
    }
    return now;
}

X11Clients::Program X11Clients::programOf(xcb_window_t window) const {
    Program p;
    p.id = window & m_baseMask;
    if (!m_canNamePids || window == XCB_NONE)
        return p;
    xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    XPtr<xcb_res_query_client_ids_reply_t> reply(
        xcb_res_query_client_ids_reply(m_c, xcb_res_query_client_ids(m_c, 1, &spec), nullptr));
    if (!reply)
        return p;
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem;
         xcb_res_client_id_value_next(&it)) {
        if (!(it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) ||
            xcb_res_client_id_value_value_length(it.data) < 1)
            continue;
        const std::uint32_t pid = *xcb_res_client_id_value_value(it.data);
        p.pid = pid;
        p.ours = pid == std::uint32_t(getpid());
        p.startTicks = processStartTicks(pid);
        p.id = (std::uint64_t(1) << 63) | pid;
        break;
    }
    return p;
}

ClipboardContent::Offerer X11Clients::offerer(xcb_window_t owner, const Connected& atTake,
                                              std::optional<std::uint64_t> ticksAtTake) const {
    using Was = ClipboardContent::Offerer::Connected;
    ClipboardContent::Offerer by;
    const Program program = programOf(owner);
    by.client = program.id;
    if (m_manager != XCB_NONE) {
        XPtr<xcb_get_selection_owner_reply_t> manager(
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_manager), nullptr));
        by.manager = manager && manager->owner != XCB_NONE &&
                     (manager->owner & m_baseMask) == (owner & m_baseMask);
    }
    const auto among = [](const std::optional<Bases>& set, std::uint64_t value) {
        return std::binary_search(set->begin(), set->end(), value) ? Was::Yes : Was::No;
    };
    // Started since is new, even where its process id or client base was there before.
    if (program.startTicks && ticksAtTake && *program.startTicks >= *ticksAtTake)
        by.atLastTake = Was::No;
    else if (program.pid && atTake.pids)
        by.atLastTake = among(atTake.pids, *program.pid);
    else if (atTake.bases)
        by.atLastTake = among(atTake.bases, owner & m_baseMask);
    return by;
}
