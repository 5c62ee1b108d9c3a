// An immutable picture shared by gallery entries and viewers: a raster image
// or a metafile kept as vectors.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <memory>

class EncodedImage;
class PackedImage;
class QPainter;

class Picture final {
    struct Data;

public:
    Picture() = default;
    /** A decoded picture. file: the file it was decoded from, held instead of
        the packed form when its bytes are fewer. */
    static Picture fromImage(const QImage& image, std::shared_ptr<const EncodedImage> file = {});
    /** A picture held as its file's bytes and decoded on demand. firstDecode,
        a decode of it (scaled or whole) made while loading, serves the
        thumbnail and goes once the picture is compacted. */
    static Picture fromFile(std::shared_ptr<const EncodedImage> file, const QImage& firstDecode);
    // A metafile's drawing as SVG; frame is its natural size in pixels at 96 dpi.
    static Picture fromSvg(const QByteArray& svg, QSize frame);

    bool isNull() const { return !m_d; }
    bool isVector() const;
    /** A metafile's drawing as SVG; empty for a raster picture. */
    QByteArray svgData() const;
    /** Width and height in the picture's own unit; only their ratio matters. */
    int width() const;
    int height() const;
    /** An entry without a picture: no height, which the null picture has too. */
    bool isEmpty() const { return height() == 0; }

    /** Raster form at the natural size, for files and the clipboard; decoded
        anew from the packed form each time, null when memory runs short. */
    QImage toImage() const;
    /** For drawing at up to cover's size: a decode at least that large on both
        sides, which for a picture held as a JPEG file can be a scaled one,
        much faster than the whole; else toImage(). */
    QImage toImageCovering(QSize cover) const;
    /** Draws the whole picture stretched into target (vectors stay sharp). */
    void draw(QPainter& painter, const QRectF& target) const;
    /** A scaled copy of exactly this size, computed once and kept. */
    QImage thumbnail(QSize size) const;
    /** The kept scaled copy if it has this size, else a null image; never scales. */
    QImage cachedThumbnail(QSize size) const;
    /** True for the first caller that wants the thumbnail of this size made. */
    bool claimThumbnail(QSize size) const;

    /** Replaces the decoded pixels by their file's bytes or by their lossless
        packed form, whichever is smaller, unless neither is clearly smaller or
        memory runs short. Tried once; may run on any thread while others use
        the picture. True if it is held compactly now. */
    bool compact() const;
    /** True when every use of the full picture decodes it anew. */
    bool isCompact() const;
    /** True when it is held as its file's bytes. */
    bool isHeldAsFile() const;
    /** The packed form it is held in now, for a writer that takes it band by band; null
        when it is held otherwise. */
    std::shared_ptr<const PackedImage> packedForm() const;

    bool sameAs(const Picture& other) const { return m_d == other.m_d; }
    /** The same size and the same pixels, whatever form each is held in; decodes
        both only when their sizes agree. */
    bool samePixelsAs(const Picture& other) const;

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
