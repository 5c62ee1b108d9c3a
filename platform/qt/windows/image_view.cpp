#include "platform/qt/windows/image_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

/** The picture ready to be scaled for drawing: true colour. */
QImage drawable(QImage image) {
    // Qt scales 1-bit and palette images into dithered 1-bit ones; these
    // (pasted PNGs of few colours) are converted once.
    if (image.depth() < 24)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                               : QImage::Format_RGB32);
    return image;
}

/** A copy large enough to cover the screen, so it serves every size a window on
    it takes; made only when it is much smaller than the original. */
QImage reducedFor(const QImage& original, QSize screenSize) {
    const double factor = screenSize.isEmpty() || original.isNull()
                              ? 1.0
                              : std::max(double(screenSize.width()) / original.width(),
                                         double(screenSize.height()) / original.height());
    if (factor >= 0.5)
        return original;
    return original.scaled(qRound(original.width() * factor), qRound(original.height() * factor),
                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

/** A decode on a thread of its own, started when a compact picture is set: it
    runs, with the reduced copy, while the window is shown and framed, so the
    first frame waits less. */
struct ImageView::Decoding {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool whole = false; // whether the whole picture was decoded (or tried)
    QImage image;
    QImage reduced;

    /** Null when no thread could be had; the caller then decodes itself.
        screen: the screen's size in pixels; keepReduced: whether to make the
        reduced copy of a whole decode. */
    static std::shared_ptr<Decoding> start(const Picture& picture, QSize screen, bool keepReduced) {
        auto d = std::make_shared<Decoding>();
        try {
            // Detached: a window closed meanwhile does not wait; the result goes with d.
            std::thread([d, picture, screen, keepReduced] {
                QImage image;
                QImage reduced;
                // A photo held as its file is decoded at a scale that covers the
                // screen, a fraction of the whole decode's time; the whole
                // picture only if a window ever grows past it.
                if (!screen.isEmpty() && picture.isHeldAsFile())
                    reduced = drawable(picture.toImageCovering(screen));
                const bool whole =
                    reduced.isNull() || reduced.size() == QSize(picture.width(), picture.height());
                if (whole) {
                    image = reduced.isNull() ? drawable(picture.toImage()) : reduced;
                    reduced = keepReduced ? reducedFor(image, screen) : QImage();
                }
                std::lock_guard hold(d->lock);
                d->image = std::move(image);
                d->reduced = std::move(reduced);
                d->whole = whole;
                d->done = true;
                d->finished.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            return nullptr;
        }
        return d;
    }
    /** Waits for the decode; false when it tried the whole picture and got nothing. */
    bool take(QImage* imageOut, QImage* reducedOut) {
        std::unique_lock hold(lock);
        finished.wait(hold, [this] { return done; });
        *imageOut = std::move(image);
        *reducedOut = std::move(reduced);
        return !whole || !imageOut->isNull();
    }
};

ImageView::ImageView(QWidget* parent, bool keepReducedCopy)
    : QWidget(parent), m_keepReducedCopy(keepReducedCopy) {
    setObjectName(QStringLiteral("imgImage"));
}

void ImageView::setPicture(const Picture& picture) {
    if (picture.sameAs(m_picture))
        return;
    m_picture = picture;
    m_source = QImage();
    m_reduced = QImage();
    m_cache = QImage();
    m_noMemory = false;
    m_decoding =
        picture.isCompact() ? Decoding::start(picture, screenPixels(), m_keepReducedCopy) : nullptr;
    update();
}

QSize ImageView::screenPixels() const {
    const QScreen* on = screen();
    return on ? on->geometry().size() * devicePixelRatioF() : QSize();
}

QImage ImageView::rasterSource(QSize deviceSize) {
    if (m_decoding) {
        const bool decoded = m_decoding->take(&m_source, &m_reduced);
        m_decoding.reset();
        if (!decoded) {
            m_noMemory = true;
            return {};
        }
    }
    const auto covers = [deviceSize](const QImage& image) {
        return !image.isNull() && deviceSize.width() <= image.width() &&
               deviceSize.height() <= image.height();
    };
    // Full screen too starts from a photo's decode at the screen's size.
    if ((m_keepReducedCopy || m_source.isNull()) && covers(m_reduced))
        return m_reduced;
    if (m_source.isNull()) {
        // Decoded once and kept while the window shows the picture.
        m_source = drawable(m_picture.toImage());
        if (m_source.isNull()) {
            m_noMemory = true;
            return {};
        }
    }
    if (!m_keepReducedCopy)
        return m_source;
    if (m_reduced.isNull())
        m_reduced = reducedFor(m_source, screenPixels());
    return covers(m_reduced) ? m_reduced : m_source;
}

QImage ImageView::scaledCopy(QSize deviceSize) {
    if (!m_picture.isVector()) {
        const QImage source = rasterSource(deviceSize);
        if (source.size() == deviceSize)
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
    ++m_framesPainted;
    if (m_picture.isNull() || m_picture.isEmpty() || width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize deviceSize(qRound(width() * dpr), qRound(height() * dpr));
    // Scaled once per size, not on every paint: a large picture takes tens of
    // milliseconds to scale.
    if (m_cache.size() != deviceSize && !m_noMemory) {
        m_cache = scaledCopy(deviceSize);
        m_cache.setDevicePixelRatio(dpr);
        if (m_cache.isNull())
            m_noMemory = true;
    }
    QPainter painter(this);
    if (m_noMemory) {
        // The picture stays in the gallery as it was; only this view goes without.
        painter.fillRect(rect(), palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, noMemoryText());
        return;
    }
    if (m_cache.isNull())
        return;
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
