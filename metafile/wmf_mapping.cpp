#include "wmf_mapping.h"

#include "metafile_format.h"

#include <algorithm>

namespace metafile {

namespace {

enum MapMode {
    kText = 1,
    kLoMetric,
    kHiMetric,
    kLoEnglish,
    kHiEnglish,
    kTwips,
    kIsotropic,
    kAnisotropic,
    kPlaceableDpi = 100, // libwmf's own mode for placeable files that set none
};

constexpr double kPointsPerMm = 72 / 25.4;

bool isDrawing(std::uint16_t function) {
    switch (function) {
    case 0x0213: // LineTo
    case 0x0324: // Polygon
    case 0x0325: // Polyline
    case 0x0418: // Ellipse
    case 0x0419: // FloodFill
    case 0x041B: // Rectangle
    case 0x041F: // SetPixel
    case 0x0429: // FrameRegion
    case 0x012A: // InvertRegion
    case 0x012B: // PaintRegion
    case 0x0228: // FillRegion
    case 0x0521: // TextOut
    case 0x0538: // PolyPolygon
    case 0x0548: // ExtFloodFill
    case 0x061C: // RoundRect
    case 0x061D: // PatBlt
    case 0x0817: // Arc
    case 0x081A: // Pie
    case 0x0830: // Chord
    case 0x0922: // BitBlt
    case 0x0940: // DibBitBlt
    case 0x0A32: // ExtTextOut
    case 0x0B23: // StretchBlt
    case 0x0B41: // DibStretchBlt
    case 0x0D33: // SetDibToDev
    case 0x0F43: // StretchDib
        return true;
    default:
        return false;
    }
}

} // namespace

WmfMapping::WmfMapping(bool placeable, double placeableUnitsPerInch)
    : m_placeable(placeable), m_placeableUnitsPerInch(placeableUnitsPerInch) {
    setMode(placeable ? kPlaceableDpi : kText);
}

void WmfMapping::setMode(int mode) {
    switch (mode) {
    case kText:
        m_pixelWidth = m_pixelHeight = 1;
        break;
    case kLoMetric:
        m_pixelWidth = m_pixelHeight = 0.1 * kPointsPerMm;
        break;
    case kHiMetric:
        m_pixelWidth = m_pixelHeight = 0.01 * kPointsPerMm;
        break;
    case kLoEnglish:
        m_pixelWidth = m_pixelHeight = 0.72;
        break;
    case kHiEnglish:
        m_pixelWidth = m_pixelHeight = 0.072;
        break;
    case kTwips:
        m_pixelWidth = m_pixelHeight = 0.05;
        break;
    case kIsotropic:
    case kAnisotropic:
        m_mode = mode;
        recompute();
        return;
    default:
        if (!m_placeable || m_placeableUnitsPerInch <= 0)
            return; // libwmf refuses the file; nothing here matters then
        m_pixelWidth = m_pixelHeight = 72 / m_placeableUnitsPerInch;
        mode = kPlaceableDpi;
        break;
    }
    m_mode = mode;
}

void WmfMapping::recompute() {
    if (m_mode != kIsotropic && m_mode != kAnisotropic)
        return;
    if (m_windowWidth != 0 && m_viewportWidth != 0)
        m_pixelWidth = m_viewportWidth / m_windowWidth;
    if (m_windowHeight != 0 && m_viewportHeight != 0)
        m_pixelHeight = m_viewportHeight / m_windowHeight;
}

bool WmfMapping::apply(std::uint16_t function, const unsigned char* params, std::size_t bytes) {
    if (isDrawing(function))
        return false;
    const auto param = [&](std::size_t i) {
        return i * 2 + 2 <= bytes ? static_cast<std::int16_t>(readU16(params + i * 2)) : 0;
    };
    switch (function) {
    case 0x0103: // SetMapMode
        setMode(param(0));
        break;
    case 0x020B: // SetWindowOrg (y, x)
        m_windowX = param(1);
        m_windowY = param(0);
        break;
    case 0x020F: // OffsetWindowOrg
        m_windowX += param(1);
        m_windowY += param(0);
        break;
    case 0x020C: // SetWindowExt
        m_windowWidth = param(1);
        m_windowHeight = param(0);
        m_haveWindowExtent = true;
        recompute();
        break;
    case 0x020D: // SetViewportOrg: libwmf keeps it in device units at the current scale
        m_viewportX = param(1) * m_pixelWidth;
        m_viewportY = param(0) * m_pixelHeight;
        break;
    case 0x020E: // SetViewportExt
        m_viewportWidth = param(1);
        m_viewportHeight = param(0);
        recompute();
        break;
    default:
        break;
    }
    return true;
}

bool WmfMapping::window(LogicalRect* out) const {
    if (!m_haveWindowExtent || m_windowWidth == 0 || m_windowHeight == 0)
        return false;
    *out = {m_windowX, m_windowY, m_windowX + m_windowWidth, m_windowY + m_windowHeight};
    return true;
}

double WmfMapping::unitsPerInch() const {
    switch (m_mode) {
    case kText:
        return 96;
    case kLoMetric:
        return 254;
    case kHiMetric:
        return 2540;
    case kLoEnglish:
        return 100;
    case kHiEnglish:
        return 1000;
    case kPlaceableDpi:
        return m_placeableUnitsPerInch;
    default:
        return 1440;
    }
}

bool WmfMapping::scaleX(double* s) const {
    if (m_mode == kIsotropic || m_mode == kAnisotropic) {
        if (m_windowWidth == 0 || m_viewportWidth == 0)
            return false;
        *s = m_viewportWidth / m_windowWidth;
    } else {
        // As libwmf: a negative window extent flips even the fixed modes.
        *s = m_windowWidth < 0 ? -m_pixelWidth : m_pixelWidth;
    }
    return true;
}

bool WmfMapping::scaleY(double* s) const {
    if (m_mode == kIsotropic || m_mode == kAnisotropic) {
        if (m_windowHeight == 0 || m_viewportHeight == 0)
            return false;
        *s = m_viewportHeight / m_windowHeight;
    } else {
        *s = m_windowHeight < 0 ? -m_pixelHeight : m_pixelHeight;
    }
    return true;
}

bool WmfMapping::toDevice(const LogicalRect& r, float* left, float* top, float* right,
                          float* bottom) const {
    double sx = 0, sy = 0;
    if (!scaleX(&sx) || !scaleY(&sy))
        return false;
    const double x0 = (r.left - m_windowX) * sx - m_viewportX;
    const double x1 = (r.right - m_windowX) * sx - m_viewportX;
    const double y0 = (r.top - m_windowY) * sy - m_viewportY;
    const double y1 = (r.bottom - m_windowY) * sy - m_viewportY;
    if (x0 == x1 || y0 == y1)
        return false;
    *left = static_cast<float>(std::min(x0, x1));
    *right = static_cast<float>(std::max(x0, x1));
    *top = static_cast<float>(std::min(y0, y1));
    *bottom = static_cast<float>(std::max(y0, y1));
    return true;
}

} // namespace metafile
