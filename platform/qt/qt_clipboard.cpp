#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QtClipboard::QtClipboard() {
    // The windows may run through XWayland, but X clients see the Wayland selection
    // only while one of their windows has the focus: watch it directly where we may.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        auto wayland = std::make_unique<WaylandClipboardReader>();
        if (wayland->isAvailable()) {
            m_wayland = std::move(wayland);
            connect(m_wayland.get(), &WaylandClipboardReader::changed, this, &QtClipboard::changed);
            return;
        }
    }
    m_x11 = std::make_unique<X11ClipboardReader>();
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode m) {
        if (m == QClipboard::Clipboard)
            changed();
    });
}

void QtClipboard::changed() {
    if (m_changed)
        m_changed();
}

void QtClipboard::look(bool readImage, std::function<void(ClipboardContent)> done) {
    if (m_wayland) {
        m_wayland->look(readImage, std::move(done));
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard() || !m_x11->isConnected()) {
        // Our own content is read locally, without a trip through the X server.
        ClipboardContent content;
        const QMimeData* data = clipboard->mimeData();
        if (data && data->hasImage()) {
            content.state = ClipboardContent::State::Bitmap;
            if (readImage) {
                const QImage image = qvariant_cast<QImage>(data->imageData());
                content.picture = Picture::fromImage(image);
                if (content.picture.isNull())
                    content.state = ClipboardContent::State::Unreadable;
            }
        }
        QMetaObject::invokeMethod(
            this, [done = std::move(done), content] { done(content); }, Qt::QueuedConnection);
        return;
    }
    m_x11->look(readImage, std::move(done));
}

void QtClipboard::clear() {
    if (m_wayland)
        m_wayland->clear();
    else
        QGuiApplication::clipboard()->clear();
}

void QtClipboard::clearTaken(const ClipboardContent& taken) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (m_wayland)
        m_wayland->clearIfUnchanged(taken.ownership);
    else if (clipboard->ownsClipboard() || !m_x11->isConnected())
        clipboard->clear();
    else
        m_x11->clearIfUnchanged(taken.ownership);
}

bool QtClipboard::setPicture(const Picture& picture) {
    const QImage image = picture.toImage();
    if (image.isNull())
        return false;
    // On Wayland the picture goes on the compositor's selection, where every program
    // can paste it; XWayland passes it on to X programs.
    if (m_wayland)
        m_wayland->setImage(image);
    else
        QGuiApplication::clipboard()->setImage(image);
    return true;
}

void QtClipboard::setChangeHandler(std::function<void()> handler) {
    m_changed = std::move(handler);
}
