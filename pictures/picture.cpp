#include "pictures/picture.h"

#include "pictures/encoded_image.h"
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
    // A raster picture is held decoded, packed, or as its file's bytes; once
    // compacted only in one of the last two. The forms change together under formLock.
    mutable std::mutex formLock;
    mutable QImage image;
    mutable std::shared_ptr<const PackedImage> packed;
    // The file it was loaded from: held when heldAsFile, else a candidate for
    // compact() until it chose.
    mutable std::shared_ptr<const EncodedImage> file;
    mutable bool heldAsFile = false;
    // A scaled decode made while loading, for the thumbnail; dropped by compact().
    mutable QImage preview;
    mutable std::atomic<bool> packTried{false};
    // Thumbnails are cached on the shared data, so every holder benefits.
    mutable std::mutex cacheLock;
    mutable QImage cachedThumb;
    mutable QSize claimedThumb;

    /** The form to decode from: the decoded pixels if they are held, else the
        packed form or the file. */
    struct Held {
        QImage image;
        std::shared_ptr<const PackedImage> packed;
        std::shared_ptr<const EncodedImage> file;
    };
    Held held() const {
        std::lock_guard lock(formLock);
        if (!image.isNull())
            return {image, nullptr, nullptr};
        return {QImage(), packed, heldAsFile ? file : nullptr};
    }
};

Picture Picture::fromImage(const QImage& image, std::shared_ptr<const EncodedImage> file) {
    if (image.isNull())
        return {};
    auto d = std::make_shared<Data>();
    d->image = image;
    d->frame = image.size();
    // Only a file clearly smaller than the pixels can be worth holding.
    if (file && double(file->byteCount()) < double(image.sizeInBytes()) * kWorthPacking)
        d->file = std::move(file);
    Picture p;
    p.m_d = std::move(d);
    return p;
}

Picture Picture::fromFile(std::shared_ptr<const EncodedImage> file, const QImage& firstDecode) {
    if (!file || file->size().isEmpty())
        return {};
    auto d = std::make_shared<Data>();
    d->frame = file->size();
    // A whole decode is the decoded form until compact() lets it go.
    if (firstDecode.size() == d->frame)
        d->image = firstDecode;
    else
        d->preview = firstDecode;
    d->file = std::move(file);
    d->heldAsFile = true;
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
        const Data::Held held = m_d->held();
        return held.packed ? held.packed->unpack() : held.file ? held.file->decode() : held.image;
    }
    QImage out(m_d->frame, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    out.fill(Qt::white);
    QPainter painter(&out);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(m_d->frame)));
    return out;
}

std::shared_ptr<const PackedImage> Picture::packedForm() const {
    return m_d && !isVector() ? m_d->held().packed : nullptr;
}

QImage Picture::toImageCovering(QSize cover) const {
    if (!m_d || isVector())
        return toImage();
    const Data::Held held = m_d->held();
    return held.file ? held.file->decodeCovering(cover) : toImage();
}

bool Picture::compact() const {
    if (!m_d || isVector() || m_d->packTried.exchange(true))
        return isCompact();
    std::shared_ptr<const EncodedImage> file;
    QImage decoded;
    {
        std::lock_guard lock(m_d->formLock);
        if (m_d->heldAsFile) {
            m_d->image = QImage();
            m_d->preview = QImage();
            return true;
        }
        file = m_d->file;
        decoded = m_d->image;
    }
    const double raw = double(decoded.sizeInBytes());
    const bool fileWorth = file && double(file->byteCount()) < raw * kWorthPacking;
    // Packing must beat the file's bytes too, else the file is held.
    const double worth = fileWorth ? double(file->byteCount()) / raw : kWorthPacking;
    std::optional<PackedImage> packed = PackedImage::pack(decoded, worth);
    std::lock_guard lock(m_d->formLock);
    if (packed) {
        m_d->packed = std::make_shared<const PackedImage>(std::move(*packed));
        m_d->file = nullptr;
    } else if (fileWorth) {
        m_d->heldAsFile = true;
    } else {
        m_d->file = nullptr;
        return false;
    }
    // The pixels go once the last holder of the decoded copy lets it go.
    m_d->image = QImage();
    return true;
}

bool Picture::isCompact() const {
    if (!m_d)
        return false;
    std::lock_guard lock(m_d->formLock);
    return m_d->packed != nullptr || (m_d->heldAsFile && m_d->image.isNull());
}

bool Picture::isHeldAsFile() const {
    if (!m_d)
        return false;
    std::lock_guard lock(m_d->formLock);
    return m_d->heldAsFile;
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
        // A picture held as a JPEG file is decoded only as large as the thumbnail needs.
        QImage source;
        {
            std::lock_guard lock(m_d->formLock);
            if (m_d->preview.width() >= size.width() && m_d->preview.height() >= size.height())
                source = m_d->preview;
        }
        if (source.isNull())
            source = toImageCovering(size);
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

bool Picture::samePixelsAs(const Picture& other) const {
    if (isNull() || other.isNull() || width() != other.width() || height() != other.height())
        return false;
    const QImage a = toImage();
    const QImage b = other.toImage();
    if (a.format() == b.format())
        return a == b;
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}
