// Stand-ins for the viewer windows, recording what their logic asked of them.
#pragma once

#include "platform/viewer_windows.h"

#include <cmath>
#include <vector>

/** The picture-window part both fakes share; the view's size is kept in whole
    pixels, as a window system keeps it. */
template <class View> class FakePictureWindow : public View {
public:
    float clientWidth = 6855, clientHeight = 4860;
    bool minimized = false;
    Picture picture;
    bool imageVisible = true;
    std::vector<bool> imageVisibility; // every change, in order
    float imageWidth = 0, imageHeight = 0;
    std::int32_t imageLeft = -1, imageTop = -1;
    int fits = 0; // completed fits: the view was shown again after a resize

    bool isMinimized() const override { return minimized; }
    float clientWidthTwips() const override { return clientWidth; }
    float clientHeightTwips() const override { return clientHeight; }
    void setPicture(const Picture& p) override { picture = p; }
    void setImageVisible(bool visible) override {
        imageVisible = visible;
        imageVisibility.push_back(visible);
        if (visible)
            ++fits;
    }
    void setImageSize(float w, float h) override {
        imageWidth = static_cast<float>(std::nearbyint(w / 15) * 15);
        imageHeight = static_cast<float>(std::nearbyint(h / 15) * 15);
    }
    float imageWidthTwips() const override { return imageWidth; }
    float imageHeightTwips() const override { return imageHeight; }
    void moveImage(std::int32_t l, std::int32_t t) override {
        imageLeft = l;
        imageTop = t;
    }
};

class FakeZoomView final : public FakePictureWindow<IZoomView> {
public:
    ZoomViewEvents& events;
    bool* alive; // cleared when the logic destroys the window
    QString title;
    OuterGeometry outer{1000, 2000, 6855 + 30, 4860 + 375};
    std::vector<OuterGeometry> moves;
    bool shown = false;
    bool closed = false;
    IWindow* owner = nullptr;
    int shows = 0;
    bool activated = false; // by the last show
    int menus = 0;
    int keyboardMenus = 0;

    FakeZoomView(ZoomViewEvents& e, bool* aliveFlag) : events(e), alive(aliveFlag) {}
    ~FakeZoomView() override { *alive = false; }

    QString caption() const override { return title; }
    void setCaption(const QString& c) override { title = c; }
    OuterGeometry outerGeometryTwips() const override { return outer; }
    void moveWindow(const OuterGeometry& g) override {
        moves.push_back(g);
        outer = g;
    }
    void showOwned(IWindow* w, bool activate) override {
        ++shows;
        owner = w;
        activated = activate;
        const bool first = !shown;
        shown = true;
        // A window system sizes a window when it first shows it.
        if (first)
            events.Form_Resize();
    }
    void popupMenu() override { ++menus; }
    void popupMenuAtPicture() override { ++keyboardMenus; }
    void closeWindow() override {
        shown = false;
        closed = true;
        events.Form_Unload();
    }
};

class FakeFullScreenView final : public FakePictureWindow<IFullScreenView> {
public:
    FullScreenViewEvents& events;
    bool* alive;
    bool shown = false;
    IWindow* owner = nullptr;
    int broughtToFront = 0;
    QString name;

    FakeFullScreenView(FullScreenViewEvents& e, bool* aliveFlag) : events(e), alive(aliveFlag) {
        // A 1280 x 1024 screen.
        clientWidth = 19200;
        clientHeight = 15360;
    }
    ~FakeFullScreenView() override { *alive = false; }

    void showOwned(IWindow* w) override {
        owner = w;
        const bool first = !shown;
        shown = true;
        if (first)
            events.Form_Resize();
    }
    void bringToFront() override { ++broughtToFront; }
    void setPictureName(const QString& n) override { name = n; }
    void closeWindow() override {
        shown = false;
        events.Form_Unload();
    }
};

/** Keeps a pointer to every window made, and whether it still exists. */
class FakeViewerFactory final : public IViewerFactory {
public:
    std::vector<FakeZoomView*> zooms;
    std::vector<FakeFullScreenView*> fullScreens;
    // The flags live apart from the windows, so they outlive them.
    std::vector<std::unique_ptr<bool>> zoomAlive, fullScreenAlive;

    std::unique_ptr<IZoomView> makeZoomView(ZoomViewEvents& events) override {
        zoomAlive.push_back(std::make_unique<bool>(true));
        auto view = std::make_unique<FakeZoomView>(events, zoomAlive.back().get());
        zooms.push_back(view.get());
        return view;
    }
    std::unique_ptr<IFullScreenView> makeFullScreenView(FullScreenViewEvents& events) override {
        fullScreenAlive.push_back(std::make_unique<bool>(true));
        auto view = std::make_unique<FakeFullScreenView>(events, fullScreenAlive.back().get());
        fullScreens.push_back(view.get());
        return view;
    }
    bool zoomAliveAt(std::size_t i) const { return *zoomAlive.at(i); }
    bool fullScreenAliveAt(std::size_t i) const { return *fullScreenAlive.at(i); }
};
