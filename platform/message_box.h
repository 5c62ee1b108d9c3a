#pragma once

#include "platform/window.h"

#include <QString>

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    /** An information icon and one OK button. Returns when it is closed. */
    virtual void information(IWindow* owner, const QString& text, const QString& title) = 0;
    /** A failure the user must know about (a picture that was not saved, a file
        that could not be opened). */
    virtual void warning(IWindow* owner, const QString& text, const QString& title) = 0;
};
