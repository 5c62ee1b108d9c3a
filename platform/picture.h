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

    /** Raster form at the natural size, for files and the clipboard. */
    QImage toImage() const;
    /** Draws the whole picture stretched into target (vectors stay sharp). */
    void draw(QPainter& painter, const QRectF& target) const;
    /** A scaled copy of exactly this size, computed once and kept. */
    QImage thumbnail(QSize size) const;

    bool sameAs(const Picture& other) const { return m_d == other.m_d; }

private:
    struct Data;
    std::shared_ptr<const Data> m_d;
};
