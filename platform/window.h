#pragma once

/** Any window of the program; dialogs and viewers take one as their owner. */
class IWindow {
public:
    IWindow() = default;
    IWindow(const IWindow&) = delete;
    IWindow& operator=(const IWindow&) = delete;
    virtual ~IWindow() = default;
};
