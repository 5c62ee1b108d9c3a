// How long and how much a look at the X or the Wayland clipboard may take.
#pragma once

#include <QtGlobal>

/** Limits of one look. On X a newer copy ends a look at once, so an owner that is
    slow, drips its data or never answers holds up nothing but its own picture: the
    list of types is waited for answerMs (longer at each look again), a picture's
    first byte as long as patientMs allows, each further piece stallMs. An owner that
    runs out of time is looked at again later while it keeps the clipboard. The
    Wayland reader too ends a read at a newer selection, and waits for the first byte
    and in all as long as patientMs allows. */
struct ReadLimits {
    int answerMs = 2000;
    int stallMs = 3000;
    qint64 maxBytes = qint64(1) << 30;
    // Generous: a toolkit encodes a 4K screen as PNG for seconds before its first byte.
    int patientMs = 60000;
    int retryFirstMs = 200;
    int retryMaxMs = 5000;
};

/** How long after the lateLooks-th look that ran out of time (1 for the first) the
    owner is looked at again: soon at first, as a refusing owner is often only busy, then
    less and less often while it keeps the clipboard. */
constexpr int retryBackoffMs(const ReadLimits& limits, int lateLooks) {
    const int doublings = lateLooks < 1 ? 0 : (lateLooks - 1 < 16 ? lateLooks - 1 : 16);
    const qint64 ms = qint64(limits.retryFirstMs) << doublings;
    return int(ms < limits.retryMaxMs ? ms : limits.retryMaxMs);
}

// Picture headers name the size within their first bytes: a read that has this much
// can refuse a picture before the rest arrives.
inline constexpr qint64 kPictureHeaderBytes = 64 * 1024;
