#include "platform/picture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <mutex>

// GLib names a struct member after Qt's "signals" keyword.
#pragma push_macro("signals")
#undef signals
#include <cairo.h>
#include <librsvg/rsvg.h>
#pragma pop_macro("signals")

namespace {

// Printers ask for pages of ten thousand pixels and more; a metafile drawn at
// this size is sharp on paper and takes a bounded amount of memory.
constexpr int kMaxRasterSide = 6000;

/** Renders the drawing stretched to size with librsvg, which honours the clip
    paths that metafiles rely on (QtSvg 6.4 ignores them). */
QImage renderSvg(const QByteArray& svg, QSize frame, QSize size) {
    if (size.isEmpty() || frame.isEmpty())
        return {};
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    out.fill(Qt::transparent);
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(
        reinterpret_cast<const guint8*>(svg.constData()), gsize(svg.size()), &error);
    if (!handle) {
        g_clear_error(&error);
        return {};
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        out.bits(), CAIRO_FORMAT_ARGB32, out.width(), out.height(), int(out.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, double(size.width()) / frame.width(), double(size.height()) / frame.height());
    const RsvgRectangle viewport{0, 0, double(frame.width()), double(frame.height())};
    const bool ok = rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    g_clear_error(&error);
    return ok ? out : QImage();
}

} // namespace

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
QByteArray Picture::svgData() const { return m_d ? m_d->svg : QByteArray(); }
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
        // Drawn at the size it takes on the device, so it stays sharp.
        const QSizeF onDevice = painter.transform().mapRect(target).size();
        double scale = 1.0;
        const double longest = std::max(onDevice.width(), onDevice.height());
        if (longest > kMaxRasterSide)
            scale = kMaxRasterSide / longest;
        const QSize pixels(std::max(1, int(std::ceil(onDevice.width() * scale))),
                           std::max(1, int(std::ceil(onDevice.height() * scale))));
        const QImage drawn = renderSvg(m_d->svg, m_d->frame, pixels);
        if (!drawn.isNull()) {
            painter.drawImage(target, drawn);
            return;
        }
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
