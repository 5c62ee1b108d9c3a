// Takes every bitmap that appears on the clipboard into the gallery.
#pragma once

#include "gallery/gallery.h"
#include "platform/clipboard.h"

#include <cstdint>
#include <deque>
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

    /** A clipboard manager may put back any picture of its history, not only the last. */
    static constexpr std::size_t kRecentTaken = 16;
    /** Where the side does not name the offering program: a picture put back within this
        time of the copy that was taken is the manager's. A person copying the same
        picture again, even from a slow program, takes longer. */
    static constexpr std::int64_t kPutBackWithinMs = 2500;
    /** The program we took a picture from offering it again this soon after our emptying
        is putting it back (GPaste, 2-20 ms); a person copying again is far slower. */
    static constexpr std::int64_t kPromptPutBackMs = 250;

private:
    void finish(const ClipboardContent& content, std::uint64_t changesAtStart, bool didRead);
    bool isPutBack(const ClipboardContent& content) const;
    bool takenRecently(std::uint64_t fingerprint) const;
    void remember(const ClipboardContent& taken);

    Gallery& m_gallery;
    IClipboard& m_clipboard;
    std::function<void()> m_added;
    std::function<void()> m_again;
    bool m_looking = false;
    bool m_tickWaiting = false;
    std::uint64_t m_changes = 0;
    // What was taken: the pictures, newest last, and of the newest who offered it and when.
    std::deque<std::uint64_t> m_recent;
    std::uint64_t m_copier = 0;
    std::int64_t m_copiedAtMs = -1;
    bool m_lastWasRepeat = false;
};
