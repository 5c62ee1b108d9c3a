#include "commands/print_layout.h"

#include "platform/units.h"

#include <cmath>

namespace {
std::int32_t toInt32(double value) {
    // Guards the conversion; a real page never comes near these bounds.
    if (!(value > INT32_MIN) || !(value < INT32_MAX))
        return 0;
    return static_cast<std::int32_t>(roundHalfEven(value));
}

// Halving a whole number drops the remainder.
std::int32_t half(std::int32_t value) {
    return value / 2;
}
} // namespace

PrintPlacement fitToPage(float pageWidth, float pageHeight, std::int32_t pictureWidth,
                         std::int32_t pictureHeight) {
    const double pageW = pageWidth;
    const double pageH = pageHeight;
    // A width of 0 makes the division fail; the fitted height then stays 0.
    double h1 = 0.0;
    if (pictureWidth != 0)
        h1 = roundHalfEven(pageW / pictureWidth * pictureHeight);

    PrintPlacement p;
    if (pageH >= h1) {
        p.width = toInt32(pageW);
        p.height = toInt32(h1);
    } else {
        p.height = toInt32(pageH);
        p.width = pictureHeight != 0 ? toInt32(pageH / pictureHeight * pictureWidth) : 0;
    }
    p.x = half(toInt32(pageW - p.width));
    p.y = half(toInt32(pageH - p.height));
    return p;
}
