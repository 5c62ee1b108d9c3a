#include "viewers/form_zoom.h"

#include "dialogs/module1.h"
#include "gallery/key_dispatch.h"
#include "viewers/fit_window.h"

namespace {
constexpr int kEsc = 27;
constexpr int kEnter = 13;
constexpr int kRightButton = 2;
} // namespace

formZoom::formZoom(IViewerFactory& factory, Gallery& gallery, Platform& platform,
                   formFullScreen& fullScreen)
    : m_factory(factory), m_gallery(gallery), m_platform(platform), m_fullScreen(fullScreen) {}

formZoom::~formZoom() = default;

void formZoom::load() {
    if (isLoaded())
        return;
    // The main window reloads a closed zoom window from its own handlers, never
    // from one of the old window's, so the old one can go now.
    m_view.reset();
    m_view = m_factory.makeZoomView(*this);
    m_loaded = true;
}

void formZoom::moveWindow(const OuterGeometry& geometry) {
    load();
    m_view->moveWindow(geometry);
}

void formZoom::setPicture(const Picture& picture) {
    load();
    m_picture = picture;
    m_view->setPicture(picture);
}

void formZoom::setCaption(const QString& caption) {
    load();
    m_view->setCaption(caption);
}

QString formZoom::caption() const {
    return isLoaded() ? m_view->caption() : QString();
}

void formZoom::show(IWindow* owner, bool activate) {
    load();
    m_view->showOwned(owner, activate);
}

void formZoom::FormResize() {
    if (!isLoaded() || !fitPictureWindow(*m_view, m_picture))
        return;
    const OuterGeometry outer = m_view->outerGeometryTwips();
    m_gallery.LastWidth = outer.width;
    m_gallery.LastHeight = outer.height;
    m_gallery.LastLeft = outer.left;
    m_gallery.LastTop = outer.top;
}

void formZoom::close() {
    if (isLoaded())
        m_view->closeWindow();
    Form_Unload();
}

void formZoom::Form_Unload() {
    if (!m_loaded)
        return;
    m_loaded = false;
    // A closed window holds no picture.
    m_picture = Picture();
    if (m_view)
        m_view->setPicture(m_picture);
}

void formZoom::Form_KeyDown(int KeyCode, int Shift) {
    if (KeyCode == kEsc)
        close();
    else if (KeyCode == kEnter)
        imgImage_DblClick();
    else if (opensContextMenu(KeyCode, Shift) && isLoaded())
        m_view->popupMenuAtPicture();
}

void formZoom::imgImage_DblClick() {
    if (isLoaded())
        m_fullScreen.open(m_picture, m_view.get(), caption());
}

void formZoom::imgImage_MouseUp(int Button, int, int, int) {
    if (Button == kRightButton && isLoaded())
        m_view->popupMenu();
}

QString formZoom::proposedName(const QString& caption) {
    if (caption.size() < 4)
        return {};
    return caption.left(caption.size() - 4) + QStringLiteral(".bmp");
}

void formZoom::mnuFileSave_Click() {
    if (!isLoaded())
        return;
    const QString name = proposedName(caption());
    if (name.isEmpty())
        return;
    // The dialog runs its own event loop; keep the picture even if the window closes meanwhile.
    const Picture picture = m_picture;
    const QString path = Module1::ShowSaveDialog(m_platform.dialogs, m_view.get(),
                                                 QStringLiteral("Bitmap Image (*.bmp)|*.bmp"),
                                                 QStringLiteral("Save Image"), QString(), name);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_platform.pictures.writeBmp(picture, path, &error)) {
        m_platform.messages.warning(
            isLoaded() ? m_view.get() : nullptr,
            QStringLiteral("The picture could not be saved as \"%1\": %2.").arg(path, error),
            QStringLiteral("Pictavo"));
    }
}
