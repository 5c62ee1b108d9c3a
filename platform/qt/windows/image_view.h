// imgImage of the viewers: draws a picture stretched to its own bounds.
#pragma once

#include "pictures/picture.h"
#include "platform/qt/windows/picture_loader.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class ImageView final : public QWidget {
public:
    /** mayOutgrowScreen: the window can be made larger than the screen, so the
        whole decode is kept beside a copy that covers the screen. */
    ImageView(QWidget* parent, bool mayOutgrowScreen);
    ~ImageView() override;

    void setPicture(const Picture& picture);
    const Picture& picture() const { return m_picture; }
    /** True when the picture could not be decoded for lack of memory; the view then says so. */
    bool lacksMemory() const { return m_noMemory; }
    /** True while it keeps the picture decoded for drawing. */
    bool holdsDecodedCopy() const { return !m_whole.isNull() || !m_reduced.isNull(); }
    /** True while the picture is being decoded for it. */
    bool loading() const { return m_ticket != nullptr; }
    static QString noMemoryText() {
        return QCoreApplication::translate("Viewers",
                                           "There is not enough memory to show this picture.");
    }
    /** Frames painted so far that showed the picture or the lack of memory, for
        tests and benchmarks. */
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
    void load(bool whole);
    void loaded(PictureLoader::Result result, bool whole);
    QImage scaledCopy(QSize deviceSize);
    QImage rasterSource(QSize deviceSize);
    QSize screenPixels() const;

    Picture m_picture;
    std::shared_ptr<PictureLoader::Ticket> m_ticket;
    bool m_mayOutgrowScreen;
    bool m_triedWhole = false;
    QImage m_whole;
    QImage m_reduced;
    QImage m_cache;
    int m_framesPainted = 0;
    bool m_noMemory = false;
};
