#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QtClipboard::QtClipboard() {
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode m) {
        if (m == QClipboard::Clipboard && m_changed)
            m_changed();
    });
}

void QtClipboard::look(bool readImage, std::function<void(ClipboardContent)> done) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard() || !m_reader.isConnected()) {
        // Our own content is read locally, without a trip through the X server.
        ClipboardContent content;
        content.own = clipboard->ownsClipboard();
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
    m_reader.look(readImage, std::move(done));
}

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::clearTaken(const ClipboardContent& taken) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard() || !m_reader.isConnected())
        clipboard->clear();
    else
        m_reader.clearIfUnchanged(taken.ownership);
}

bool QtClipboard::setPicture(const Picture& picture) {
    const QImage image = picture.toImage();
    if (image.isNull())
        return false;
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void QtClipboard::setChangeHandler(std::function<void()> handler) {
    m_changed = std::move(handler);
}
