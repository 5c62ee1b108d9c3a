// Takes every bitmap that appears on the clipboard into the gallery.
#pragma once

#include "gallery/gallery.h"
#include "platform/clipboard.h"
#include "platform/clock.h"

#include <cstdint>

class ClipboardWatcher {
public:
    ClipboardWatcher(Gallery& gallery, IClipboard& clipboard, const IClock& clock);

    /** One tick; returns true when a picture was added. */
    bool Timer1_Timer();

    /** How long after emptying the clipboard an identical bitmap counts as
        put back by a clipboard manager rather than copied anew. */
    static constexpr std::int64_t kRestoreWindowMs = 1500;

private:
    bool isRestoredCopy(const Picture& picture) const;

    Gallery& m_gallery;
    IClipboard& m_clipboard;
    const IClock& m_clock;
    Picture m_lastTaken;
    std::int64_t m_lastClearedAt = 0;
};
