#pragma once

#include "platform/clipboard.h"
#include "platform/qt/clipboard/clipboard_sides.h"
#include "platform/qt/clipboard/wayland_clipboard_reader.h"
#include "platform/qt/clipboard/x11_clipboard_manager.h"
#include "platform/qt/clipboard/x11_clipboard_reader.h"
#include "platform/qt/clipboard/x11_presses.h"
#include "platform/qt/clipboard/xwayland_selection.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <memory>

class QtClipboard final : public QObject, public IClipboard {
    Q_OBJECT
public:
    QtClipboard();
    void look(bool readImage, std::function<void(ClipboardContent)> done) override;
    void clear() override;
    void clearTaken(const ClipboardContent& taken) override;
    void keepTaken(const ClipboardContent& taken) override;
    bool setPicture(const Picture& picture) override;
    void setChangeHandler(std::function<void()> handler) override;

private:
    void changed();
    void lookX(bool readImage, std::function<void(ClipboardContent)> done);
    /** Hands what the X side offers to done, unless it is the compositor's copy of the
        Wayland copy just taken. */
    void reportX(const ClipboardContent& x, const std::function<void(ClipboardContent)>& done);
    /** Qt's own copy is on the clipboard, by the server's word. */
    bool ownsXClipboard() const;
    void lookBehindUnreadable(std::uint64_t offer, const ClipboardContent& unreadable,
                              std::function<void(ClipboardContent)> done);
    using Side = ClipboardSides::Side;

    std::function<void()> m_changed;
    // Kept by the manager's thread, which reads its events as they come; asked by the reader.
    X11Presses m_presses;
    X11ClipboardReader m_x11{ReadLimits{}, &m_presses};
    X11ClipboardManager m_x11Manager{X11ClipboardManager::Limits{}, &m_presses};
    // Under a compositor that lets us watch its selection; null elsewhere.
    std::unique_ptr<WaylandClipboardReader> m_wayland;
    // Under any Wayland compositor; null on an X desktop.
    std::unique_ptr<XWaylandSelection> m_xwayland;
    // The Wayland offer last looked at, and an X copy found behind it.
    std::uint64_t m_waylandLooked = 0;
    std::uint64_t m_xBehind = 0;
    // What Copy put on the clipboard last, and its fingerprint once needed.
    QImage m_ownCopy;
    std::uint64_t m_ownCopyFingerprint = 0;
    // The X copy last handed to the watcher.
    std::uint64_t m_xReported = 0;
    // An unreadable Wayland offer found beside the X copy being looked at.
    std::uint64_t m_waylandBeside = 0;
    ClipboardSides m_sides;
    QElapsedTimer m_clock;
    std::uint32_t m_clipboardAtom = 0; // on Qt's own X connection; 0 without X
};
