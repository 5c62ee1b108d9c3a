// Dragging a picture out of the program into others: the data a drop target can
// take, made only when it asks, and the gesture that starts a drag.
#pragma once

#include "pictures/picture.h"

#include <QHash>
#include <QMimeData>
#include <QPixmap>

class DragFiles;
class QMouseEvent;
class QWidget;

class PictureMimeData final : public QMimeData {
public:
    /** files: where a PNG file for targets that take files goes; none is
        offered when it is null or cannot be written. */
    PictureMimeData(const Picture& picture, const QString& fileName, DragFiles* files);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QByteArray make(const QString& mimeType) const;

    Picture m_picture;
    QString m_fileName;
    DragFiles* m_files;
    QStringList m_formats;
    // Each answer is made once per drag: targets ask again, and the file is one file.
    mutable QHash<QString, QByteArray> m_made;
};

/** A drag starts only when the left button, pressed on a picture, takes the
    pointer out of the window: inside it, presses and releases keep their meaning. */
class DragOutGesture final {
public:
    void pressed(const QMouseEvent& event, bool onPicture);
    /** True once, at the first move of the held button outside window's client area. */
    bool leaves(const QMouseEvent& event, const QWidget& window);

private:
    bool m_armed = false;
};

/** Runs a drag of picture until the button is released; face is shown under the
    pointer at hotSpot. The clipboard is not touched. */
Qt::DropAction dragPictureOut(QWidget& source, const Picture& picture, const QString& fileName,
                              const QPixmap& face, QPoint hotSpot);
