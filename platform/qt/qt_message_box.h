#pragma once

#include "platform/message_box.h"

class QtMessageBox final : public IMessageBox {
public:
    void information(IWindow* owner, const QString& text, const QString& title) override;
    void warning(IWindow* owner, const QString& text, const QString& title) override;
};
