#include "gallery/clipboard_watcher.h"

ClipboardWatcher::ClipboardWatcher(Gallery& gallery, IClipboard& clipboard, const IClock& clock)
    : m_gallery(gallery), m_clipboard(clipboard), m_clock(clock) {}

bool ClipboardWatcher::Timer1_Timer() {
    if (!m_clipboard.hasBitmap()) {
        m_gallery.IgnoreClipboard = false;
        return false;
    }
    if (m_gallery.IgnoreClipboard)
        return false;

    // A bitmap that cannot be read stays where it is: emptying the clipboard
    // now would throw the user's capture away.
    const Picture picture = m_clipboard.readBitmap();
    if (picture.isNull() || picture.isEmpty())
        return false;
    if (isRestoredCopy(picture))
        return false;

    m_gallery.AddImage(picture);
    m_clipboard.clear();
    m_lastTaken = picture;
    m_lastClearedAt = m_clock.monotonicMs();
    const int filled = m_gallery.ImageCount - 1;
    if (m_gallery.exists(filled))
        m_gallery.imgView(filled).toolTipText =
            QStringLiteral("Image ") + QString::number(m_gallery.ImageCount);
    return true;
}

bool ClipboardWatcher::isRestoredCopy(const Picture& picture) const {
    if (m_lastTaken.isNull())
        return false;
    if (m_clock.monotonicMs() - m_lastClearedAt > kRestoreWindowMs)
        return false;
    const QImage a = m_lastTaken.toImage();
    const QImage b = picture.toImage();
    if (a.size() != b.size())
        return false;
    if (a.format() == b.format())
        return a == b;
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}
