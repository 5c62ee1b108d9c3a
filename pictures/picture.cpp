#include "pictures/picture.h"

#include "pictures/packed_image.h"

#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <optional>

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
// A packed form that saves less than this share is not worth a decode at every use.
constexpr double kWorthPacking = 0.875;

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
    QByteArray svg;
    QSize frame;
    // A raster picture is held in one of two forms: decoded, or once packed,
    // only packed. Both change together under formLock.
    mutable std::mutex formLock;
    mutable QImage image;
    mutable std::shared_ptr<const PackedImage> packed;
    mutable std::atomic<bool> packTried{false};
    // Thumbnails are cached on the shared data, so every holder benefits.
    mutable std::mutex cacheLock;
    mutable QImage cachedThumb;
    mutable QSize claimedThumb;

    /** The decoded form if it is held, else null and the packed form. */
    QImage decodedOr(std::shared_ptr<const PackedImage>* packedForm) const {
        std::lock_guard lock(formLock);
        if (image.isNull())
            *packedForm = packed;
        return image;
    }
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

Picture Picture::Weak::lock() const {
    Picture p;
    p.m_d = m_d.lock();
    return p;
}

bool Picture::isVector() const { return m_d && !m_d->svg.isEmpty(); }
QByteArray Picture::svgData() const { return m_d ? m_d->svg : QByteArray(); }
int Picture::width() const { return m_d ? m_d->frame.width() : 0; }
int Picture::height() const { return m_d ? m_d->frame.height() : 0; }

QImage Picture::toImage() const {
    if (!m_d)
        return {};
    if (!isVector()) {
        std::shared_ptr<const PackedImage> packed;
        const QImage decoded = m_d->decodedOr(&packed);
        return packed ? packed->unpack() : decoded;
    }
    QImage out(m_d->frame, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    out.fill(Qt::white);
    QPainter painter(&out);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(m_d->frame)));
    return out;
}

bool Picture::compact() const {
    if (!m_d || isVector() || m_d->packTried.exchange(true))
        return isCompact();
    std::shared_ptr<const PackedImage> none;
    const QImage decoded = m_d->decodedOr(&none);
    std::optional<PackedImage> packed = PackedImage::pack(decoded, kWorthPacking);
    if (!packed)
        return false;
    auto held = std::make_shared<const PackedImage>(std::move(*packed));
    std::lock_guard lock(m_d->formLock);
    m_d->packed = std::move(held);
    // The pixels go once the last holder of the decoded copy lets it go.
    m_d->image = QImage();
    return true;
}

bool Picture::isCompact() const {
    if (!m_d)
        return false;
    std::lock_guard lock(m_d->formLock);
    return m_d->packed != nullptr;
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
    const QImage image = toImage();
    if (!image.isNull())
        painter.drawImage(target, image);
}

QImage Picture::cachedThumbnail(QSize size) const {
    if (!m_d || size.isEmpty())
        return {};
    std::lock_guard lock(m_d->cacheLock);
    return m_d->cachedThumb.size() == size ? m_d->cachedThumb : QImage();
}

bool Picture::claimThumbnail(QSize size) const {
    if (!m_d || size.isEmpty())
        return false;
    std::lock_guard lock(m_d->cacheLock);
    if (m_d->claimedThumb == size || m_d->cachedThumb.size() == size)
        return false;
    m_d->claimedThumb = size;
    return true;
}

QImage Picture::thumbnail(QSize size) const {
    if (!m_d || size.isEmpty())
        return {};
    if (QImage kept = cachedThumbnail(size); !kept.isNull())
        return kept;
    QImage thumb;
    if (isVector()) {
        thumb = QImage(size, QImage::Format_ARGB32_Premultiplied);
        if (thumb.isNull())
            return {};
        thumb.fill(Qt::white);
        QPainter painter(&thumb);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    } else {
        // Qt scales 1-bit and palette images by dithering them; true colour first.
        const QImage source = toImage();
        if (source.isNull())
            return {};
        const bool trueColour = source.depth() >= 24 && !source.colorTable().size();
        thumb = (trueColour ? source
                            : source.convertToFormat(source.hasAlphaChannel()
                                                         ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32))
                    .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    std::lock_guard lock(m_d->cacheLock);
    // Two threads may have made it; the first one kept is the one every holder sees.
    if (m_d->cachedThumb.size() != size && !thumb.isNull())
        m_d->cachedThumb = thumb;
    return m_d->cachedThumb.size() == size ? m_d->cachedThumb : thumb;
}
