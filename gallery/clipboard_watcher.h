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
    /** A picture already taken, offered again this soon after our emptying with nothing
        pressed in between, answers the emptying: a manager putting it back. GPaste and
        Klipper put a picture back within 60 ms of it, Parcellite its text within 500 ms,
        on a busy machine too; a program copying again unattended is left on the clipboard
        past this, never lost. */
    static constexpr std::int64_t kPutBackWithinMs = 1500;

    /** What a look at a picture already taken decides, and by which rule. */
    enum class Verdict {
        New,     // taken and emptied
        NewLeft, // taken, but left where it is: emptying might start a manager's loop
        PutBack, // left alone
    };
    struct Decision {
        Verdict verdict;
        const char* rule;
    };

private:
    void finish(const ClipboardContent& content, std::uint64_t changesAtStart, bool didRead);
    void take(const ClipboardContent& content);
    Decision decide(const ClipboardContent& content) const;
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
    // A copy taken but left on the clipboard, so that it is not taken again.
    std::uint64_t m_takenLeft = 0;
};
