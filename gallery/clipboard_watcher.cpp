#include "gallery/clipboard_watcher.h"

#include "platform/capture_log.h"

#include <algorithm>

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
    qCDebug(lcCapture) << "look: state" << int(content.state) << "own" << content.own
                       << "first after our emptying" << content.firstAfterOurEmptying
                       << content.afterOurEmptyingMs << "ms"
                       << "client" << content.offerer.client << "manager" << content.offerer.manager
                       << "offered at" << content.offeredAtMs << "fingerprint" << Qt::hex
                       << content.fingerprint << Qt::dec << "ignoring" << m_gallery.IgnoreClipboard
                       << "reason" << content.reason;
    bool tickAgain = m_tickWaiting;
    m_tickWaiting = false;

    if (didRead && m_gallery.IgnoreClipboard) {
        // A Copy came while we looked: what we saw is from before it, and an empty
        // clipboard then must not lower the flag that keeps the copy out.
        tickAgain = true;
    } else if (content.state == ClipboardContent::State::NoBitmap) {
        m_gallery.IgnoreClipboard = false;
    } else if (m_gallery.IgnoreClipboard) {
        // Our copy is left where it is. Another program's picture has replaced it and is
        // a new one, unless the clipboard changed during the look: then what we saw may
        // be older than a Copy made meanwhile.
        if (!content.own && m_changes == changesAtStart) {
            m_gallery.IgnoreClipboard = false;
            tickAgain = true;
        }
    } else if (!didRead) {
        // The flag fell while we looked without reading: look again, reading.
        tickAgain = true;
    } else if (isPutBack(content)) {
        qCDebug(lcCapture) << "a put-back: left on the clipboard";
        // Left on the clipboard, never emptied, so the manager has nothing to answer. It
        // stays a put-back at every later look: what makes it one belongs to the offer.
    } else if (content.state == ClipboardContent::State::Bitmap && !content.picture.isNull() &&
               !content.picture.isEmpty()) {
        qCDebug(lcCapture) << "taken as image" << m_gallery.ImageCount;
        m_gallery.AddImage(content.picture);
        m_clipboard.clearTaken(content);
        remember(content);
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

bool ClipboardWatcher::takenRecently(std::uint64_t fingerprint) const {
    return fingerprint != 0 &&
           std::find(m_recent.begin(), m_recent.end(), fingerprint) != m_recent.end();
}

void ClipboardWatcher::remember(const ClipboardContent& taken) {
    m_lastWasRepeat = taken.firstAfterOurEmptying && takenRecently(taken.fingerprint);
    if (taken.fingerprint != 0) {
        m_recent.push_back(taken.fingerprint);
        if (m_recent.size() > kRecentTaken)
            m_recent.pop_front();
    }
    m_copier = taken.offerer.client;
    m_copiedAtMs = taken.offeredAtMs;
}

bool ClipboardWatcher::isPutBack(const ClipboardContent& content) const {
    // Only the first owner after our emptying can be putting back, and only a picture
    // already taken; the program's own copy never is one. A manager holding the picture
    // just taken has it from the copier, whenever it took it over: before our emptying too.
    if (content.own || !takenRecently(content.fingerprint))
        return false;
    const ClipboardContent::Offerer& by = content.offerer;
    using Connected = ClipboardContent::Offerer::Connected;
    if (content.fingerprint == m_recent.back() &&
        (by.manager ||
         (by.client != 0 && by.client != m_copier && by.atLastTake == Connected::Yes)))
        return true;
    if (!content.firstAfterOurEmptying)
        return false;
    if (by.manager)
        return true;
    if (by.client != 0) {
        // The program whose copy was taken copying again makes a new copy, but not at
        // once nor twice in a row right after our emptying: a manager without the role
        // that we took the picture from puts it back within milliseconds, and one that
        // put it on itself would be taken again and again.
        if (by.client == m_copier)
            return m_lastWasRepeat || (content.afterOurEmptyingMs >= 0 &&
                                       content.afterOurEmptyingMs < kPromptPutBackMs);
        // One started since (a screenshot tool runs anew for each screenshot) makes a
        // new copy; one that was there all along, a manager, puts back.
        return by.atLastTake != Connected::No;
    }
    // Nobody named: only the picture just emptied, told by time, counted from the copy
    // taken, not from our emptying, which a slow owner delays. An older picture of the
    // history is a person's copy. A second repeat in a row is always a put-back, so a
    // manager slower than that costs one duplicate at most.
    if (content.fingerprint != m_recent.back())
        return false;
    if (m_lastWasRepeat)
        return true;
    return content.offeredAtMs >= 0 && m_copiedAtMs >= 0 &&
           content.offeredAtMs - m_copiedAtMs <= kPutBackWithinMs;
}
