#include "gallery/clipboard_watcher.h"

ClipboardWatcher::ClipboardWatcher(Gallery& gallery, IClipboard& clipboard,
                                   std::function<void()> added, std::function<void()> again)
    : m_gallery(gallery), m_clipboard(clipboard), m_added(std::move(added)),
      m_again(std::move(again)) {}

void ClipboardWatcher::Timer1_Timer() {
    if (m_looking) {
        m_tickWaiting = true;
        return;
    }
    m_looking = true;
    const std::uint64_t changesAtStart = m_changes;
    // While the flag is up the bitmap is left alone, so it need not be transferred.
    const bool read = !m_gallery.IgnoreClipboard;
    m_clipboard.look(read, [this, changesAtStart, read](ClipboardContent content) {
        finish(content, changesAtStart, read);
    });
}

void ClipboardWatcher::finish(const ClipboardContent& content, std::uint64_t changesAtStart,
                              bool didRead) {
    m_looking = false;
    bool tickAgain = m_tickWaiting;
    m_tickWaiting = false;

    if (didRead && m_gallery.IgnoreClipboard) {
        // A Copy came while we looked: what we saw is from before it, and an empty
        // clipboard then must not lower the flag that keeps the copy out.
        tickAgain = true;
    } else if (content.state == ClipboardContent::State::NoBitmap) {
        m_gallery.IgnoreClipboard = false;
    } else if (m_gallery.IgnoreClipboard) {
        // The program's own copy, or anything that replaced it: left where it is.
    } else if (!didRead) {
        // The flag fell while we looked without reading: look again, reading.
        tickAgain = true;
    } else if (isRestore(content)) {
        // Left on the clipboard; it stays a restore at every later look, as what makes
        // it one belongs to the offer, not to the moment of the look.
    } else if (content.state == ClipboardContent::State::Bitmap && !content.picture.isNull() &&
               !content.picture.isEmpty()) {
        const bool repeat = isRepeat(content);
        m_gallery.AddImage(content.picture);
        m_clipboard.clearTaken(content);
        m_lastTaken = content.picture;
        m_lastWasRepeat = repeat;
        const int filled = m_gallery.ImageCount - 1;
        if (m_gallery.exists(filled))
            m_gallery.imgView(filled).toolTipText =
                QStringLiteral("Image ") + QString::number(m_gallery.ImageCount);
        if (m_added)
            m_added();
    }
    // An unreadable bitmap stays on the clipboard: emptying it would lose the capture.

    if (m_changes != changesAtStart)
        tickAgain = true;
    if (tickAgain && m_again)
        m_again();
}

bool ClipboardWatcher::isRestore(const ClipboardContent& content) const {
    if (content.takenAfterEmptyingMs > kRestoreWithinMs && !m_lastWasRepeat)
        return false;
    return isRepeat(content);
}

bool ClipboardWatcher::isRepeat(const ClipboardContent& content) const {
    // The program's own copy is never a restore, however soon it came.
    if (content.own || content.takenAfterEmptyingMs < 0 ||
        content.takenAfterEmptyingMs > kRepeatWithinMs || m_lastTaken.isNull() ||
        content.picture.isNull())
        return false;
    return m_lastTaken.samePixelsAs(content.picture);
}
