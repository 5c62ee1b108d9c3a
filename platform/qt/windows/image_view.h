// imgImage of the viewers: draws a picture stretched to its own bounds.
#pragma once

#include "pictures/picture.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class ImageView final : public QWidget {
public:
    /** keepReducedCopy: keep a copy about the screen's size of a much larger
        picture, so that a window resized live rescales that copy, not the original. */
    ImageView(QWidget* parent, bool keepReducedCopy);

    void setPicture(const Picture& picture);
    const Picture& picture() const { return m_picture; }
    /** True when the picture could not be decoded for lack of memory; the view then says so. */
    bool lacksMemory() const { return m_noMemory; }
    /** True while it keeps the picture decoded for drawing. */
    bool holdsDecodedCopy() const { return !m_source.isNull() || !m_reduced.isNull(); }
    static QString noMemoryText() {
        return QStringLiteral("There is not enough memory to show this picture.");
    }
    /** Frames painted so far, for tests and benchmarks. */
    int framesPainted() const { return m_framesPainted; }

    std::function<void(QMouseEvent&)> pressed;
    std::function<void(QMouseEvent&)> moved;
    std::function<void(QMouseEvent&)> released;
    std::function<void(QMouseEvent&)> doubleClicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage scaledCopy(QSize deviceSize);
    QImage rasterSource(QSize deviceSize);
    QSize screenPixels() const;

    struct Decoding;

    Picture m_picture;
    std::shared_ptr<Decoding> m_decoding;
    bool m_keepReducedCopy;
    QImage m_source;
    QImage m_reduced;
    QImage m_cache;
    int m_framesPainted = 0;
    bool m_noMemory = false;
};
