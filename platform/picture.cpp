#include "platform/picture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <mutex>

struct Picture::Data {
    QImage image;
    QByteArray svg;
    QSize frame;
    // Thumbnails are cached on the shared data, so every holder benefits.
    mutable std::mutex cacheLock;
    mutable QImage cachedThumb;
};

Picture Picture::fromImage(const QImage& image) {
    if (image.isNull())
        return {};
    auto d = std::make_shared<Data>();
    d->image = image;
    d->frame = image.size();
    Picture p;
    p.m_d = std::move(d);
    return p;
}

Picture Picture::fromSvg(const QByteArray& svg, QSize frame) {
    if (svg.isEmpty() || frame.isEmpty())
        return {};
    auto d = std::make_shared<Data>();
    d->svg = svg;
    d->frame = frame;
    Picture p;
    p.m_d = std::move(d);
    return p;
}

bool Picture::isVector() const { return m_d && !m_d->svg.isEmpty(); }
int Picture::width() const { return m_d ? m_d->frame.width() : 0; }
int Picture::height() const { return m_d ? m_d->frame.height() : 0; }

QImage Picture::toImage() const {
    if (!m_d)
        return {};
    if (!isVector())
        return m_d->image;
    QImage out(m_d->frame, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    out.fill(Qt::white);
    QPainter painter(&out);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(m_d->frame)));
    return out;
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    if (!m_d || target.isEmpty())
        return;
    if (isVector()) {
        QSvgRenderer renderer(m_d->svg);
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        renderer.render(&painter, target);
        return;
    }
    painter.drawImage(target, m_d->image);
}

QImage Picture::thumbnail(QSize size) const {
    if (!m_d || size.isEmpty())
        return {};
    std::lock_guard lock(m_d->cacheLock);
    if (m_d->cachedThumb.size() != size) {
        if (isVector()) {
            QImage thumb(size, QImage::Format_ARGB32_Premultiplied);
            thumb.fill(Qt::white);
            QPainter painter(&thumb);
            painter.setRenderHint(QPainter::Antialiasing);
            draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
            m_d->cachedThumb = thumb;
        } else {
            // Qt scales 1-bit and palette images by dithering them; true colour first.
            const QImage& source = m_d->image;
            const bool trueColour = source.depth() >= 24 && !source.colorTable().size();
            m_d->cachedThumb =
                (trueColour ? source
                            : source.convertToFormat(source.hasAlphaChannel()
                                                         ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32))
                    .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    return m_d->cachedThumb;
}
