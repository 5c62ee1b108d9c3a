#pragma once

#include "platform/clipboard.h"
#include "platform/qt/x11_clipboard_reader.h"

#include <QObject>

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
    std::function<void()> m_changed;
    X11ClipboardReader m_reader;
};
