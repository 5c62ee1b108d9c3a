#include "gallery/clipboard_watcher.h"

ClipboardWatcher::ClipboardWatcher(Gallery& gallery, IClipboard& clipboard, const IClock& clock,
                                   std::function<void()> added, std::function<void()> again)
    : m_gallery(gallery), m_clipboard(clipboard), m_clock(clock), m_added(std::move(added)),
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

    if (content.state == ClipboardContent::State::NoBitmap) {
        m_gallery.IgnoreClipboard = false;
    } else if (m_gallery.IgnoreClipboard) {
        // The program's own copy, or anything that replaced it: left where it is.
    } else if (!didRead) {
        // The flag fell while we looked without reading: look again, reading.
        tickAgain = true;
    } else if (content.state == ClipboardContent::State::Bitmap && !content.picture.isNull() &&
               !content.picture.isEmpty() && !isRestoredCopy(content.picture)) {
        m_gallery.AddImage(content.picture);
        m_clipboard.clearTaken(content);
        m_lastTaken = content.picture;
        m_lastClearedAt = m_clock.monotonicMs();
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

bool ClipboardWatcher::isRestoredCopy(const Picture& picture) const {
    if (m_lastTaken.isNull())
        return false;
    if (m_clock.monotonicMs() - m_lastClearedAt > kRestoreWindowMs)
        return false;
    // Sizes first: the taken picture is decoded only when it could be the same.
    if (m_lastTaken.width() != picture.width() || m_lastTaken.height() != picture.height())
        return false;
    const QImage a = m_lastTaken.toImage();
    const QImage b = picture.toImage();
    if (a.size() != b.size())
        return false;
    if (a.format() == b.format())
        return a == b;
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}
