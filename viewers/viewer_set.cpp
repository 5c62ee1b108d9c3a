#include "viewers/viewer_set.h"

#include <algorithm>

ViewerSet::ViewerSet(IViewerFactory& factory, Gallery& gallery, Platform& platform, IWindow* owner)
    : m_factory(factory), m_gallery(gallery), m_platform(platform), m_owner(owner),
      m_fullScreen(factory) {}

ViewerSet::~ViewerSet() = default;

formZoom& ViewerSet::newZoom() {
    m_zooms.push_back(std::make_unique<formZoom>(m_factory, m_gallery, m_platform, m_fullScreen));
    formZoom& zoom = *m_zooms.back();
    zoom.load();
    if (m_gallery.LastHeight > 0)
        zoom.moveWindow(
            {m_gallery.LastLeft, m_gallery.LastTop, m_gallery.LastWidth, m_gallery.LastHeight});
    return zoom;
}

void ViewerSet::forgetClosedZooms() {
    // Called from the main window's handlers only, never from a zoom window's own.
    std::erase_if(m_zooms, [this](const std::unique_ptr<formZoom>& zoom) {
        return zoom.get() != m_lastZoom && !zoom->isLoaded();
    });
}

void ViewerSet::showInZoom(const Picture& picture, const QString& caption, int shift) {
    forgetClosedZooms();
    formZoom& zoom = (shift != 0 || !m_lastZoom) ? newZoom() : *m_lastZoom;
    zoom.load();
    zoom.setPicture(picture);
    zoom.setCaption(caption);
    // The releases of a double click on a thumbnail come after the full-screen
    // viewer it opened: the viewer stays in front with the focus.
    const bool viewerShown = m_fullScreen.isShown();
    zoom.show(m_owner, !viewerShown);
    zoom.FormResize();
    m_lastZoom = &zoom;
    if (viewerShown)
        m_fullScreen.bringToFront();
}

void ViewerSet::showFullScreen(const Picture& picture, const QString& name) {
    m_fullScreen.open(picture, m_owner, name);
}

void ViewerSet::closeAll() {
    m_fullScreen.close();
    for (const auto& zoom : m_zooms)
        zoom->close();
}
