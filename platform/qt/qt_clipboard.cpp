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

bool QtClipboard::hasBitmap() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

Picture QtClipboard::readBitmap() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    // Decoding honours the image allocation limit, so an oversized bitmap
    // comes back null and stays on the clipboard.
    const QImage image = qvariant_cast<QImage>(data->imageData());
    return Picture::fromImage(image);
}

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

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
