// An immutable picture shared by gallery entries and viewers: a raster image
// or a metafile kept as vectors.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <memory>

class QPainter;

class Picture final {
    struct Data;

public:
    Picture() = default;
    static Picture fromImage(const QImage& image);
    // A metafile's drawing as SVG; frame is its natural size in pixels at 96 dpi.
    static Picture fromSvg(const QByteArray& svg, QSize frame);

    bool isNull() const { return !m_d; }
    bool isVector() const;
    /** A metafile's drawing as SVG; empty for a raster picture. */
    QByteArray svgData() const;
    /** Width and height in the picture's own unit; only their ratio matters. */
    int width() const;
    int height() const;
    /** The design's test for an entry without a picture. */
    bool isEmpty() const { return height() == 0; }

    /** Raster form at the natural size, for files and the clipboard; decoded
        anew from the packed form each time, null when memory runs short. */
    QImage toImage() const;
    /** Draws the whole picture stretched into target (vectors stay sharp). */
    void draw(QPainter& painter, const QRectF& target) const;
    /** A scaled copy of exactly this size, computed once and kept. */
    QImage thumbnail(QSize size) const;
    /** The kept scaled copy if it has this size, else a null image; never scales. */
    QImage cachedThumbnail(QSize size) const;
    /** True for the first caller that wants the thumbnail of this size made. */
    bool claimThumbnail(QSize size) const;

    /** Replaces the decoded pixels by their lossless packed form, unless that
        would not be clearly smaller or memory runs short. Tried once; may run on
        any thread while others use the picture. True if it is packed now. */
    bool compact() const;
    bool isCompact() const;

    bool sameAs(const Picture& other) const { return m_d == other.m_d; }

    /** Refers to a picture without keeping it alive. */
    class Weak {
    public:
        Weak() = default;
        explicit Weak(const Picture& picture) : m_d(picture.m_d) {}
        /** The picture, or a null one once no holder is left. */
        Picture lock() const;

    private:
        std::weak_ptr<const Picture::Data> m_d;
    };

private:
    std::shared_ptr<const Data> m_d;
};
