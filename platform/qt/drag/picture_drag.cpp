#include "platform/qt/drag/picture_drag.h"

#include "platform/qt/drag/drag_files.h"

#include <QBuffer>
#include <QDrag>
#include <QImageWriter>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kBmp = QStringLiteral("image/bmp");
const QString kSvg = QStringLiteral("image/svg+xml");
const QString kUris = QStringLiteral("text/uri-list");

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    if (image.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, format).write(image))
        bytes.clear();
    return bytes;
}

// The files of every drag of this run, removed when the program ends.
DragFiles& runFiles() {
    static DragFiles files(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    return files;
}

} // namespace

PictureMimeData::PictureMimeData(const Picture& picture, const QString& fileName, DragFiles* files)
    : m_picture(picture), m_fileName(fileName), m_files(files) {
    // The first format a target takes is usually the one it uses.
    m_formats << kPng << kBmp;
    if (m_picture.isVector())
        m_formats << kSvg;
    if (m_files && m_files->canOffer())
        m_formats << kUris;
}

QStringList PictureMimeData::formats() const { return m_formats; }

bool PictureMimeData::hasFormat(const QString& mimeType) const {
    return m_formats.contains(mimeType);
}

QVariant PictureMimeData::retrieveData(const QString& mimeType, QMetaType) const {
    if (!m_formats.contains(mimeType))
        return {};
    auto made = m_made.find(mimeType);
    if (made == m_made.end())
        made = m_made.insert(mimeType, make(mimeType));
    if (made->isEmpty())
        return {};
    return *made;
}

// The picture is decoded for one answer and let go again.
QByteArray PictureMimeData::make(const QString& mimeType) const {
    if (mimeType == kPng)
        return encoded(m_picture.toImage(), "png");
    if (mimeType == kBmp)
        return encoded(m_picture.toImage(), "bmp");
    if (mimeType == kSvg)
        return m_picture.svgData();
    if (mimeType == kUris && m_files) {
        const QString path = m_files->write(m_picture.toImage(), m_fileName);
        if (!path.isEmpty())
            return QUrl::fromLocalFile(path).toEncoded() + "\r\n";
    }
    return {};
}

void DragOutGesture::pressed(const QMouseEvent& event, bool onPicture) {
    m_armed = event.button() == Qt::LeftButton && onPicture;
}

bool DragOutGesture::leaves(const QMouseEvent& event, const QWidget& window) {
    if (!m_armed || !(event.buttons() & Qt::LeftButton))
        return false;
    if (window.rect().contains(window.mapFromGlobal(event.globalPosition().toPoint())))
        return false;
    m_armed = false;
    return true;
}

Qt::DropAction dragPictureOut(QWidget& source, const Picture& picture, const QString& fileName,
                              const QPixmap& face, QPoint hotSpot) {
    if (picture.isNull() || picture.isEmpty())
        return Qt::IgnoreAction;
    // Qt deletes the drag once the target has taken what it wanted.
    auto* drag = new QDrag(&source);
    drag->setMimeData(new PictureMimeData(picture, fileName, &runFiles()));
    drag->setPixmap(face);
    drag->setHotSpot(hotSpot);
    // The picture stays in the gallery, whatever the target would rather do.
    return drag->exec(Qt::CopyAction, Qt::CopyAction);
}
