#include "app/qt_viewer_host.h"

#include "platform/qt/windows/picture_loader.h"

#include <QWidget>

QtViewerHost::QtViewerHost(QWidget& owner) : m_owner(owner) {
    // The viewers' decoding threads are made now, while memory is plentiful.
    PictureLoader::instance();
}

QtViewerHost::~QtViewerHost() = default;

void QtViewerHost::attach(Gallery& gallery, Platform& platform) {
    m_viewers =
        std::make_unique<ViewerSet>(m_factory, gallery, platform, dynamic_cast<IWindow*>(&m_owner));
}

void QtViewerHost::showInZoom(const Picture& picture, const QString& caption, int shift) {
    if (m_viewers)
        m_viewers->showInZoom(picture, caption, shift);
}

void QtViewerHost::showFullScreen(const Picture& picture, const QString& name) {
    if (m_viewers)
        m_viewers->showFullScreen(picture, name);
}

void QtViewerHost::closeAll() {
    if (m_viewers)
        m_viewers->closeAll();
}
