#pragma once

#include "platform/clipboard.h"
#include "platform/qt/wayland_clipboard_reader.h"
#include "platform/qt/x11_clipboard_reader.h"

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
    /** True when the Wayland selection is watched, rather than the X clipboard. */
    bool watchesWayland() const { return m_wayland != nullptr; }

private:
    void changed();

    std::function<void()> m_changed;
    // Exactly one of them: the compositor's selection where we may watch it, X otherwise.
    std::unique_ptr<WaylandClipboardReader> m_wayland;
    std::unique_ptr<X11ClipboardReader> m_x11;
};
