// The zoom window and the full-screen viewer as their logic sees them. Sizes and
// positions are in twips.
#pragma once

#include "pictures/picture.h"
#include "platform/window.h"

#include <QString>
#include <cstdint>
#include <memory>

/** A window that shows one picture in its image view imgImage. */
class IPictureWindow : public IWindow {
public:
    virtual bool isMinimized() const = 0;
    virtual float clientWidthTwips() const = 0;
    virtual float clientHeightTwips() const = 0;
    /** The picture imgImage draws stretched to its own bounds. */
    virtual void setPicture(const Picture& picture) = 0;
    virtual void setImageVisible(bool visible) = 0;
    /** The window system keeps the view's size in whole pixels. */
    virtual void setImageSize(float width, float height) = 0;
    /** The view's size as the window system keeps it. */
    virtual float imageWidthTwips() const = 0;
    virtual float imageHeightTwips() const = 0;
    virtual void moveImage(std::int32_t left, std::int32_t top) = 0;
};

/** Outer geometry: window-manager frame included, screen coordinates. */
struct OuterGeometry {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const OuterGeometry&) const = default;
};

/** What a zoom window reports to its logic. */
class ZoomViewEvents {
public:
    virtual ~ZoomViewEvents() = default;
    virtual void Form_Resize() = 0;
    virtual void Form_DblClick() = 0;
    virtual void Form_KeyDown(int KeyCode, int Shift) = 0;
    virtual void imgImage_DblClick() = 0;
    virtual void imgImage_MouseUp(int Button, int Shift, int X, int Y) = 0;
    virtual void mnuFileSave_Click() = 0;
    /** The window was closed, by its logic or by the window system. */
    virtual void Form_Unload() = 0;
    /** The file name a drag of the picture hands to a program that takes files. */
    virtual QString dragFileName() const = 0;
};

class IZoomView : public IPictureWindow {
public:
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual OuterGeometry outerGeometryTwips() const = 0;
    virtual void moveWindow(const OuterGeometry& geometry) = 0;
    /** Shows the window modeless, in front of owner; without activate it
        neither takes the focus nor comes in front of the program's other windows. */
    virtual void showOwned(IWindow* owner, bool activate) = 0;
    /** Pops up the menu with "&Save..." at the mouse position; a choice comes
        back as mnuFileSave_Click once the menu has closed. */
    virtual void popupMenu() = 0;
    /** The same from the keyboard: at the picture's centre, its entry active. */
    virtual void popupMenuAtPicture() = 0;
    /** Closes the window; it reports Form_Unload. */
    virtual void closeWindow() = 0;
};

/** What the full-screen viewer reports to its logic. */
class FullScreenViewEvents {
public:
    virtual ~FullScreenViewEvents() = default;
    virtual void Form_Resize() = 0;
    virtual void Form_Click() = 0;
    /** Any key, modifier keys alone included. */
    virtual void Form_KeyDown(int KeyCode, int Shift) = 0;
    virtual void imgImage_Click() = 0;
    virtual void Form_Unload() = 0;
};

class IFullScreenView : public IPictureWindow {
public:
    /** Shows the window frameless over the whole screen of owner, in front of
        every other window of the program, with the keyboard focus. */
    virtual void showOwned(IWindow* owner) = 0;
    /** What a screen reader says of the picture shown. */
    virtual void setPictureName(const QString& name) = 0;
    /** Puts the shown window back in front with the focus. */
    virtual void bringToFront() = 0;
    virtual void closeWindow() = 0;
};

/** Makes the viewer windows; each reports to the events it is made with. */
class IViewerFactory {
public:
    virtual ~IViewerFactory() = default;
    virtual std::unique_ptr<IZoomView> makeZoomView(ZoomViewEvents& events) = 0;
    virtual std::unique_ptr<IFullScreenView> makeFullScreenView(FullScreenViewEvents& events) = 0;
};
