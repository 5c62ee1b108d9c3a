#include "platform/qt/clipboard/clipboard_sides.h"

void ClipboardSides::lookBegins(std::int64_t nowMs) {
    m_takenBeforeLookMs = m_lastSide == Side::None ? -1 : nowMs - m_takenAtMs;
}

void ClipboardSides::taken(Side side, std::uint64_t fingerprint, std::int64_t nowMs,
                           std::uint64_t waylandOffer) {
    m_lastSide = side;
    m_lastTaken = fingerprint;
    m_takenAtMs = nowMs;
    if (side == Side::X)
        m_waylandAtXTake = waylandOffer;
}

bool ClipboardSides::justTakenFrom(Side side) const {
    return (m_lastSide == side || m_lastSide == Side::Both) && m_takenBeforeLookMs >= 0 &&
           m_takenBeforeLookMs < kBridgedWithinMs;
}

bool ClipboardSides::bridgedFrom(Side side, std::uint64_t fingerprint) const {
    return justTakenFrom(side) && fingerprint != 0 && fingerprint == m_lastTaken;
}

bool ClipboardSides::leftOverFromXTake(std::uint64_t waylandOffer) const {
    return justTakenFrom(Side::X) && waylandOffer != m_waylandAtXTake;
}
