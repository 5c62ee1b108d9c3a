// The viewers of the main window: every zoom window it made, LastZoom, and the
// one full-screen viewer.
#pragma once

#include "gallery/gallery.h"
#include "platform/platform.h"
#include "platform/viewer_windows.h"
#include "viewers/form_full_screen.h"
#include "viewers/form_zoom.h"
#include "viewers/viewer_host.h"

#include <vector>

class ViewerSet final : public ViewerHost {
public:
    /** owner: the main window, which owns the zoom windows and the viewer it opens. */
    ViewerSet(IViewerFactory& factory, Gallery& gallery, Platform& platform, IWindow* owner);
    ~ViewerSet() override;

    void showInZoom(const Picture& picture, const QString& caption, int shift) override;
    void showFullScreen(const Picture& picture, const QString& name) override;
    void closeAll() override;

    /** The zoom window made last; null before the first. */
    formZoom* LastZoom() const { return m_lastZoom; }
    formFullScreen& fullScreen() { return m_fullScreen; }
    /** Zoom windows still open, and LastZoom even when closed. */
    const std::vector<std::unique_ptr<formZoom>>& zoomWindows() const { return m_zooms; }

private:
    formZoom& newZoom();
    void forgetClosedZooms();

    IViewerFactory& m_factory;
    Gallery& m_gallery;
    Platform& m_platform;
    IWindow* m_owner;
    // Declared before the zoom windows, which refer to it, so it outlives them.
    formFullScreen m_fullScreen;
    std::vector<std::unique_ptr<formZoom>> m_zooms;
    formZoom* m_lastZoom = nullptr;
};
