#include "viewers/form_zoom.h"

#include "commands/file_names.h"
#include "dialogs/module1.h"
#include "gallery/key_dispatch.h"
#include "platform/keys.h"
#include "viewers/fit_window.h"

#include <QCoreApplication>

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

void formZoom::Form_Unload() { unloadPicture(m_loaded, m_picture, m_view.get()); }

void formZoom::Form_KeyDown(int KeyCode, int Shift) {
    if (KeyCode == keys::Esc)
        close();
    else if (KeyCode == keys::Enter)
        imgImage_DblClick();
    else if (opensContextMenu(KeyCode, Shift) && isLoaded())
        m_view->popupMenuAtPicture();
}

void formZoom::imgImage_DblClick() {
    if (isLoaded())
        m_fullScreen.open(m_picture, m_view.get(), caption());
}

QString formZoom::dragFileName() const {
    return FileNames::dragFileName(caption(), QStringLiteral("Image"));
}

void formZoom::imgImage_MouseUp(int Button, int, int, int) {
    if (Button == keys::RightButton && isLoaded())
        m_view->popupMenu();
}

void formZoom::mnuFileSave_Click() {
    if (!isLoaded())
        return;
    const QString name = FileNames::proposedName(caption(), QStringLiteral(".bmp"));
    if (name.isEmpty())
        return;
    // The dialog runs its own event loop; keep the picture even if the window closes meanwhile.
    const Picture picture = m_picture;
    const QString path = Module1::ShowSaveDialog(
        m_platform.dialogs, m_view.get(),
        QCoreApplication::translate("formZoom", "Bitmap Image (*.bmp)") + QStringLiteral("|*.bmp"),
        QCoreApplication::translate("formZoom", "Save Image"), QString(), name);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_platform.pictures.writeBmp(picture, path, &error)) {
        m_platform.messages.warning(
            isLoaded() ? m_view.get() : nullptr,
            QCoreApplication::translate("formZoom", "The picture could not be saved as \"%1\": %2.")
                .arg(path, error),
            QStringLiteral("Pictavo"));
    }
}
