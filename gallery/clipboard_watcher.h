// Takes every bitmap that appears on the clipboard into the gallery.
#pragma once

#include "gallery/gallery.h"
#include "platform/clipboard.h"

#include <cstdint>
#include <functional>

class ClipboardWatcher {
public:
    /** added runs after a picture went into the gallery; again asks for another tick. */
    ClipboardWatcher(Gallery& gallery, IClipboard& clipboard, std::function<void()> added,
                     std::function<void()> again);

    /** One tick. The clipboard answers later; a tick while a look is under way
        is remembered and run when it ends, so bursts merge and nothing is missed. */
    void Timer1_Timer();
    /** The clipboard announced a change. */
    void noteChange() { ++m_changes; }
    bool looking() const { return m_looking; }

    /** A clipboard manager puts back what was emptied as soon as it sees the emptying;
        an owner that takes the clipboard this soon after the program emptied it, with
        the very picture just taken, is such a manager. A person copying, even the same
        picture again, takes longer. */
    static constexpr std::int64_t kRestoreWithinMs = 150;
    /** A manager that restores more slowly is recognised by its second restore: the
        same picture back again within this time after an emptying, right after a
        take that was itself such a repeat. So it costs at most one duplicate. */
    static constexpr std::int64_t kRepeatWithinMs = 2000;

private:
    void finish(const ClipboardContent& content, std::uint64_t changesAtStart, bool didRead);
    bool isRestore(const ClipboardContent& content) const;
    bool isRepeat(const ClipboardContent& content) const;

    Gallery& m_gallery;
    IClipboard& m_clipboard;
    std::function<void()> m_added;
    std::function<void()> m_again;
    bool m_looking = false;
    bool m_tickWaiting = false;
    std::uint64_t m_changes = 0;
    Picture m_lastTaken;
    bool m_lastWasRepeat = false;
};
