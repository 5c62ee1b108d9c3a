// Where a desktop has both an X and a Wayland clipboard, the compositor hands a copy
// made on one side across to the other. The same picture showing up on the other
// side just after it was taken is that hand-over, not a new copy.
#pragma once

#include <cstdint>

class ClipboardSides {
public:
    enum class Side { None, X, Wayland, Both };
    // A compositor hands a copy across within milliseconds; a person copying the same
    // picture again from a program on the other side takes far longer.
    static constexpr std::int64_t kBridgedWithinMs = 2000;

    /** A look begins at nowMs; the times below are counted to its start, because
        reading what the compositor handed across may itself take a while. */
    void lookBegins(std::int64_t nowMs);
    /** A picture was taken from side: Both when it was read through the compositor
        with an X program holding the same picture behind it. waylandOffer: for an X
        take, the unreadable Wayland offer that was beside it, if any. */
    void taken(Side side, std::uint64_t fingerprint, std::int64_t nowMs,
               std::uint64_t waylandOffer = 0);

    bool justTakenFrom(Side side) const;
    /** The compositor is still handing the picture just taken across: what it shows of it
        next counts from nowMs. */
    void handOverGoesOn(std::int64_t nowMs) { m_takenAtMs = nowMs; }
    /** What side shows now, named by its fingerprint, is the compositor's copy of the
        picture just taken from there. */
    bool bridgedFrom(Side side, std::uint64_t fingerprint) const;
    /** An unreadable Wayland offer, with no picture on X: what the compositor left of
        the X copy just taken, unless it was there beside that copy already. */
    bool leftOverFromXTake(std::uint64_t waylandOffer) const;

private:
    std::uint64_t m_lastTaken = 0;
    Side m_lastSide = Side::None;
    std::int64_t m_takenAtMs = 0;
    std::int64_t m_takenBeforeLookMs = -1;
    std::uint64_t m_waylandAtXTake = 0;
};
