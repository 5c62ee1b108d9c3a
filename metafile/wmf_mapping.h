// Follows a WMF's mapping records the way libwmf does, up to the first drawing record, so the
// picture's rectangle can be given to libwmf in its own device units (points).
#pragma once

#include <cstddef>
#include <cstdint>

namespace metafile {

struct LogicalRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class WmfMapping {
public:
    WmfMapping() = default;
    WmfMapping(bool placeable, double placeableUnitsPerInch);

    // Follows one record; false from the first drawing record on, which the mapping then serves.
    bool apply(std::uint16_t function, const unsigned char* params, std::size_t bytes);

    // The window that the file set, if it set one.
    bool window(LogicalRect* out) const;
    // Logical units per inch of the mapping mode (for the isotropic modes, as in placeable files).
    double unitsPerInch() const;
    bool toDevice(const LogicalRect& r, float* left, float* top, float* right, float* bottom) const;

private:
    void setMode(int mode);
    void recompute();
    bool scaleX(double* s) const;
    bool scaleY(double* s) const;

    int m_mode = 1;
    bool m_placeable = false;
    double m_placeableUnitsPerInch = 0;
    double m_windowX = 0, m_windowY = 0, m_windowWidth = 0, m_windowHeight = 0;
    bool m_haveWindowExtent = false;
    double m_viewportX = 0, m_viewportY = 0, m_viewportWidth = 1024, m_viewportHeight = 1024;
    double m_pixelWidth = 1, m_pixelHeight = 1;
};

} // namespace metafile
