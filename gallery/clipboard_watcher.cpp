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
                       << "running at the take" << int(content.offerer.atLastTake)
                       << "another owner since" << content.anotherOwnerSinceTake << "pressed"
                       << int(content.pressedSinceOurEmptying) << "offered at"
                       << content.offeredAtMs << "fingerprint" << Qt::hex << content.fingerprint
                       << Qt::dec << "ignoring" << m_gallery.IgnoreClipboard << "reason"
                       << content.reason;
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
    } else if (content.state == ClipboardContent::State::Bitmap && !content.picture.isNull() &&
               !content.picture.isEmpty()) {
        take(content);
    }
    // An unreadable bitmap stays on the clipboard: emptying it would lose the capture.

    if (m_changes != changesAtStart)
        tickAgain = true;
    if (tickAgain && m_again)
        m_again();
}

void ClipboardWatcher::take(const ClipboardContent& content) {
    if (content.ownership != 0 && content.ownership == m_takenLeft) {
        qCDebug(lcCapture) << "already taken, left on the clipboard";
        return;
    }
    const Decision d = decide(content);
    qCDebug(lcCapture) << (d.verdict == Verdict::PutBack ? "left as a put-back:" : "taken:")
                       << d.rule;
    if (d.verdict == Verdict::PutBack)
        return; // never emptied, so the manager has nothing to answer
    m_gallery.AddImage(content.picture);
    if (d.verdict == Verdict::New)
        m_clipboard.clearTaken(content);
    else
        m_clipboard.keepTaken(content);
    m_takenLeft = d.verdict == Verdict::NewLeft ? content.ownership : 0;
    remember(content);
    const int filled = m_gallery.ImageCount - 1;
    if (m_gallery.exists(filled))
        m_gallery.imgView(filled).toolTipText =
            QStringLiteral("Image ") + QString::number(m_gallery.ImageCount);
    if (m_added)
        m_added();
}

bool ClipboardWatcher::takenRecently(std::uint64_t fingerprint) const {
    return fingerprint != 0 &&
           std::find(m_recent.begin(), m_recent.end(), fingerprint) != m_recent.end();
}

void ClipboardWatcher::remember(const ClipboardContent& taken) {
    if (taken.fingerprint != 0) {
        m_recent.push_back(taken.fingerprint);
        if (m_recent.size() > kRecentTaken)
            m_recent.pop_front();
    }
    m_copier = taken.offerer.client;
    m_copiedAtMs = taken.offeredAtMs;
}

ClipboardWatcher::Decision ClipboardWatcher::decide(const ClipboardContent& content) const {
    // The program's own copy is never a put-back, and only a picture already taken can be.
    if (content.own)
        return {Verdict::New, "the program's own copy, come back"};
    if (content.ourCopyHeld)
        return {Verdict::PutBack, "a manager keeping the program's own copy"};
    if (!takenRecently(content.fingerprint))
        return {Verdict::New, "a picture not taken lately"};
    // A manager holds the picture another program copied after the last take.
    if (content.anotherOwnerSinceTake)
        return {Verdict::New, "another program copied since the last take"};
    const ClipboardContent::Offerer& by = content.offerer;
    using Connected = ClipboardContent::Offerer::Connected;
    if (by.manager)
        return {Verdict::PutBack, "offered by the clipboard manager"};
    const bool justTaken = content.fingerprint == m_recent.back();
    if (!content.firstAfterOurEmptying) {
        // Not an answer to our emptying: a manager that took the copy over before it, or
        // one that found the clipboard not emptied (the owner changed under our read).
        if (by.client != 0) {
            if (justTaken && by.client != m_copier && by.atLastTake == Connected::Yes)
                return {Verdict::PutBack, "a program running at the take holds the picture just "
                                          "taken from another: a manager took it over"};
            return {Verdict::New, "the same picture copied again"};
        }
        // Nobody named: told by time from the copy taken (a slow owner delays our emptying).
        if (justTaken && content.offeredAtMs >= 0 && m_copiedAtMs >= 0 &&
            content.offeredAtMs - m_copiedAtMs <= kPutBackWithinMs)
            return {Verdict::PutBack, "the picture just taken, again soon after its copy"};
        return {Verdict::New, "the same picture copied again, not soon after its copy"};
    }
    if (content.pressedSinceOurEmptying == ClipboardContent::Pressed::Yes)
        return {Verdict::New, "a key or button was pressed since our emptying"};
    if (by.atLastTake == Connected::No)
        return {Verdict::New, "offered by a program started since the last take"};
    // Where nobody is named, only the picture just taken: managers there put back their
    // newest, and an older picture copied again at once is a person's.
    const bool soon =
        content.afterOurEmptyingMs >= 0 && content.afterOurEmptyingMs <= kPutBackWithinMs;
    if (soon && (by.client != 0 || justTaken))
        return {Verdict::PutBack, "answers our emptying soon, with nothing pressed"};
    if (soon)
        return {Verdict::New, "an older picture again at once, where nobody is named"};
    // Late, and unattended: a program copying again, or a manager slower than any seen. Taken
    // either way, and not emptied, so a manager has nothing to answer.
    return {Verdict::NewLeft, "the same picture again late after our emptying, nothing pressed"};
}
