#include "viewers/form_full_screen.h"

#include "viewers/fit_window.h"

formFullScreen::formFullScreen(IViewerFactory& factory) : m_factory(factory) {}

formFullScreen::~formFullScreen() = default;

void formFullScreen::open(const Picture& picture, IWindow* owner, const QString& name) {
    // An unloaded viewer is made anew; the old window is never in one of its own
    // handlers here, since only other windows open the viewer.
    if (!isShown()) {
        m_view.reset();
        m_view = m_factory.makeFullScreenView(*this);
    }
    m_picture = picture;
    m_view->setPicture(picture);
    m_view->setPictureName(name);
    m_shown = true;
    m_view->showOwned(owner);
    // A viewer that was already shown gets no resize for its new picture.
    Form_Resize();
}

void formFullScreen::bringToFront() {
    if (isShown())
        m_view->bringToFront();
}

void formFullScreen::close() {
    if (isShown())
        m_view->closeWindow();
    // The window reports Form_Unload; a fake or a failed close may not.
    Form_Unload();
}

void formFullScreen::Form_Resize() {
    if (isShown())
        fitPictureWindow(*m_view, m_picture);
}

void formFullScreen::Form_Unload() { unloadPicture(m_shown, m_picture, m_view.get()); }
