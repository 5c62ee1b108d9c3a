#pragma once

#include "platform/qt/windows/full_screen_window.h"
#include "platform/qt/windows/zoom_window.h"

class QtViewerFactory final : public IViewerFactory {
public:
    std::unique_ptr<IZoomView> makeZoomView(ZoomViewEvents& events) override {
        return std::make_unique<ZoomWindow>(events);
    }
    std::unique_ptr<IFullScreenView> makeFullScreenView(FullScreenViewEvents& events) override {
        return std::make_unique<FullScreenWindow>(events);
    }
};
