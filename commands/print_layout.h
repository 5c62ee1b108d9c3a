// Where Print puts a picture on the page: fitted to the printable area, centred.
#pragma once

#include <cstdint>

/** The printed picture's rectangle in twips within the printable area. */
struct PrintPlacement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const PrintPlacement&) const = default;
};

/** Fills the area's width when the fitted height fits (equality included), else
    its height. A picture of width 0 takes the width branch with height 0. */
PrintPlacement fitToPage(float pageWidth, float pageHeight, std::int32_t pictureWidth,
                         std::int32_t pictureHeight);
