// formZoom: a sizable window that shows one gallery picture fitted to its size.
#pragma once

#include "gallery/gallery.h"
#include "platform/platform.h"
#include "platform/viewer_windows.h"
#include "viewers/form_full_screen.h"

class formZoom final : public ZoomViewEvents {
public:
    /** The geometry record goes to gallery; Save uses platform. */
    formZoom(IViewerFactory& factory, Gallery& gallery, Platform& platform,
             formFullScreen& fullScreen);
    ~formZoom() override;

    /** Makes the window when it is not loaded: a closed one comes back at the
        window system's position and the size a new window opens at. */
    void load();
    bool isLoaded() const { return m_view && m_loaded; }

    // What the main window does with it, in its order; each loads the window first.
    void moveWindow(const OuterGeometry& geometry);
    void setPicture(const Picture& picture);
    void setCaption(const QString& caption);
    void show(IWindow* owner, bool activate = true);
    /** Fits the picture and records the outer geometry in the gallery. */
    void FormResize();
    /** Unloads the window. */
    void close();

    const Picture& picture() const { return m_picture; }
    QString caption() const;
    /** The window, null before the first load. */
    IZoomView* view() const { return m_view.get(); }

    void Form_Resize() override { FormResize(); }
    void Form_DblClick() override { imgImage_DblClick(); }
    void Form_KeyDown(int KeyCode, int Shift) override;
    void imgImage_DblClick() override;
    void imgImage_MouseUp(int Button, int Shift, int X, int Y) override;
    void mnuFileSave_Click() override;
    void Form_Unload() override;
    QString dragFileName() const override;

private:
    IViewerFactory& m_factory;
    Gallery& m_gallery;
    Platform& m_platform;
    formFullScreen& m_fullScreen;
    std::unique_ptr<IZoomView> m_view;
    bool m_loaded = false;
    Picture m_picture;
};
