// Takes every bitmap that appears on the clipboard into the gallery.
#pragma once

#include "gallery/gallery.h"
#include "platform/clipboard.h"
#include "platform/clock.h"

#include <cstdint>
#include <functional>

class ClipboardWatcher {
public:
    /** added runs after a picture went into the gallery; again asks for another tick. */
    ClipboardWatcher(Gallery& gallery, IClipboard& clipboard, const IClock& clock,
                     std::function<void()> added, std::function<void()> again);

    /** One tick. The clipboard answers later; a tick while a look is under way
        is remembered and run when it ends, so bursts merge and nothing is missed. */
    void Timer1_Timer();
    /** The clipboard announced a change. */
    void noteChange() { ++m_changes; }
    bool looking() const { return m_looking; }

    /** How long after emptying the clipboard an identical bitmap counts as
        put back by a clipboard manager rather than copied anew. */
    static constexpr std::int64_t kRestoreWindowMs = 1500;

private:
    void finish(const ClipboardContent& content, std::uint64_t changesAtStart, bool didRead);
    bool isRestoredCopy(const Picture& picture) const;

    Gallery& m_gallery;
    IClipboard& m_clipboard;
    const IClock& m_clock;
    std::function<void()> m_added;
    std::function<void()> m_again;
    bool m_looking = false;
    bool m_tickWaiting = false;
    std::uint64_t m_changes = 0;
    Picture m_lastTaken;
    std::int64_t m_lastClearedAt = 0;
};
