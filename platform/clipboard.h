#pragma once

#include "platform/picture.h"

#include <functional>

/** The system clipboard, bitmap side only. */
class IClipboard {
public:
    IClipboard() = default;
    IClipboard(const IClipboard&) = delete;
    IClipboard& operator=(const IClipboard&) = delete;
    virtual ~IClipboard() = default;
    /** Whether an image is offered; asks for the formats only, transfers nothing. */
    virtual bool hasBitmap() = 0;
    /** One transfer and decode; a null picture when it fails or is too large. */
    virtual Picture readBitmap() = 0;
    virtual void clear() = 0;
    /** Puts the picture on as a bitmap; false when the clipboard refused it. */
    virtual bool setPicture(const Picture& picture) = 0;
    /** Called whenever the clipboard announces a change of content. */
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};
