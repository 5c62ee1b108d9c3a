#include "platform/qt/windows/image_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {
bool covers(const QImage& image, QSize deviceSize) {
    return !image.isNull() && deviceSize.width() <= image.width() &&
           deviceSize.height() <= image.height();
}
} // namespace

ImageView::ImageView(QWidget* parent, bool mayOutgrowScreen)
    : QWidget(parent), m_mayOutgrowScreen(mayOutgrowScreen) {
    setObjectName(QStringLiteral("imgImage"));
}

ImageView::~ImageView() {
    if (m_ticket)
        m_ticket->cancel();
}

void ImageView::setPicture(const Picture& picture) {
    if (picture.sameAs(m_picture))
        return;
    // The older picture's decode, if it has not started, never does.
    if (m_ticket)
        m_ticket->cancel();
    m_ticket.reset();
    m_picture = picture;
    m_whole = QImage();
    m_reduced = QImage();
    m_cache = QImage();
    m_noMemory = false;
    m_triedWhole = false;
    if (!picture.isNull() && !picture.isEmpty() && !picture.isVector()) {
        const QSize screen = screenPixels();
        // Pixels already in memory and not much larger than the screen are
        // ready at once; anything else is decoded off this thread.
        if (!picture.isCompact() && qint64(picture.width()) * picture.height() <=
                                        4 * qint64(screen.width()) * screen.height())
            loaded(PictureLoader::decodeNow(picture, screen, false), false);
        else
            load(false);
    }
    update();
}

void ImageView::load(bool whole) {
    m_triedWhole = m_triedWhole || whole;
    m_ticket = PictureLoader::instance().request(
        this, m_picture, screenPixels(), whole,
        [this, whole](PictureLoader::Result result) { loaded(std::move(result), whole); });
}

void ImageView::loaded(PictureLoader::Result result, bool whole) {
    m_ticket.reset();
    if (result.failed) {
        // A whole decode that failed leaves the smaller copy to draw from.
        m_noMemory = m_reduced.isNull();
    } else {
        if (!result.whole.isNull())
            m_whole = std::move(result.whole);
        if (!result.reduced.isNull())
            m_reduced = std::move(result.reduced);
        // A window that stays within the screen draws from the smaller copy alone.
        if (!m_mayOutgrowScreen && !m_reduced.isNull() && !whole)
            m_whole = QImage();
    }
    m_cache = QImage();
    update();
}

QSize ImageView::screenPixels() const {
    const QScreen* on = screen();
    return on ? on->geometry().size() * devicePixelRatioF() : QSize();
}

QImage ImageView::rasterSource(QSize deviceSize) {
    if (covers(m_reduced, deviceSize))
        return m_reduced;
    if (!m_whole.isNull())
        return m_whole;
    // Larger than the copy made for the screen: the whole picture is decoded,
    // off this thread, and the copy drawn larger meanwhile.
    if (!m_triedWhole && !m_ticket)
        load(true);
    return m_reduced;
}

QImage ImageView::scaledCopy(QSize deviceSize) {
    if (!m_picture.isVector()) {
        const QImage source = rasterSource(deviceSize);
        if (source.isNull() || source.size() == deviceSize)
            return source;
        return source.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // Vectors are drawn at the displayed size, so they stay sharp.
    QImage out(deviceSize, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return out;
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    m_picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(deviceSize)));
    return out;
}

void ImageView::paintEvent(QPaintEvent*) {
    if (m_picture.isNull() || m_picture.isEmpty() || width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize deviceSize(qRound(width() * dpr), qRound(height() * dpr));
    // Scaled once per size, not on every paint: a large picture takes tens of
    // milliseconds to scale.
    if (!m_noMemory && m_cache.size() != deviceSize) {
        QImage scaled = scaledCopy(deviceSize);
        if (scaled.isNull()) {
            // Until its decode arrives the view stays empty.
            if (m_ticket)
                return;
            m_noMemory = true;
        } else {
            scaled.setDevicePixelRatio(dpr);
            m_cache = std::move(scaled);
        }
    }
    ++m_framesPainted;
    QPainter painter(this);
    if (m_noMemory) {
        // The picture stays in the gallery as it was; only this view goes without.
        painter.fillRect(rect(), palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, noMemoryText());
        return;
    }
    painter.drawImage(QRectF(rect()), m_cache);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    if (pressed)
        pressed(*event);
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    if (moved)
        moved(*event);
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    if (released)
        released(*event);
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (doubleClicked)
        doubleClicked(*event);
}
