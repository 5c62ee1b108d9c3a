#pragma once

#include "platform/clipboard.h"

#include <QObject>

class QtClipboard final : public QObject, public IClipboard {
    Q_OBJECT
public:
    QtClipboard();
    bool hasBitmap() override;
    Picture readBitmap() override;
    void clear() override;
    bool setPicture(const Picture& picture) override;
    void setChangeHandler(std::function<void()> handler) override;

private:
    std::function<void()> m_changed;
};
