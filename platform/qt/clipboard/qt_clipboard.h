#pragma once

#include "platform/clipboard.h"
#include "platform/qt/clipboard/wayland_clipboard_reader.h"
#include "platform/qt/clipboard/x11_clipboard_reader.h"
#include "platform/qt/clipboard/xwayland_selection.h"

#include <QObject>
#include <memory>

class QtClipboard final : public QObject, public IClipboard {
    Q_OBJECT
public:
    QtClipboard();
    void look(bool readImage, std::function<void(ClipboardContent)> done) override;
    void clear() override;
    void clearTaken(const ClipboardContent& taken) override;
    bool setPicture(const Picture& picture) override;
    void setChangeHandler(std::function<void()> handler) override;

private:
    void changed();
    void lookX(bool readImage, std::function<void(ClipboardContent)> done);

    std::function<void()> m_changed;
    X11ClipboardReader m_x11;
    // Under a compositor that lets us watch its selection; null elsewhere.
    std::unique_ptr<WaylandClipboardReader> m_wayland;
    std::unique_ptr<XWaylandSelection> m_xwayland;
    // The Wayland offer last looked at, and an X copy found behind it.
    std::uint64_t m_waylandLooked = 0;
    std::uint64_t m_xBehind = 0;
};
