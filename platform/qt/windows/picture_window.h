// The part the zoom window and the full-screen viewer share: a top-level widget
// with the image view imgImage, sizes converted between pixels and twips.
#pragma once

#include "platform/gallery_view.h"
#include "platform/units.h"
#include "platform/qt/windows/image_view.h"
#include "platform/viewer_windows.h"

#include <QWidget>
#include <algorithm>

namespace viewer_units {
/** Whole pixels for a length in twips, halves to the even neighbour. */
inline int pixels(double twips) {
    const double px = roundHalfEven(twips / kTwipsPerPixel);
    // Far beyond any screen; keeps absurd values from overflowing.
    return static_cast<int>(std::clamp(px, -1.0e6, 1.0e6));
}
inline float twips(int pixels) {
    return static_cast<float>(pixelsToTwips(pixels));
}
} // namespace viewer_units

template <class View> class PictureWindow : public QWidget, public View {
public:
    bool isMinimized() const override { return QWidget::isMinimized(); }
    float clientWidthTwips() const override { return viewer_units::twips(width()); }
    float clientHeightTwips() const override { return viewer_units::twips(height()); }
    void setPicture(const Picture& picture) override {
        m_image.setPicture(picture);
        // What a screen reader says of the picture besides its name.
        const QString size = pictureSizeText(picture);
        setAccessibleDescription(size);
        m_image.setAccessibleDescription(size);
    }
    void setImageVisible(bool visible) override { m_image.setVisible(visible); }
    void setImageSize(float width, float height) override {
        m_image.resize(std::max(0, viewer_units::pixels(width)),
                       std::max(0, viewer_units::pixels(height)));
    }
    float imageWidthTwips() const override { return viewer_units::twips(m_image.width()); }
    float imageHeightTwips() const override { return viewer_units::twips(m_image.height()); }
    void moveImage(std::int32_t left, std::int32_t top) override {
        m_image.move(viewer_units::pixels(left), viewer_units::pixels(top));
    }

    ImageView& imageView() { return m_image; }

protected:
    explicit PictureWindow(bool mayOutgrowScreen) : m_image(this, mayOutgrowScreen) {
        // The window system's application-workspace colour: what Qt's own MDI
        // workspace (QMdiArea) paints behind its windows.
        setBackgroundRole(QPalette::Dark);
        setAutoFillBackground(true);
    }

    ImageView m_image;
};
