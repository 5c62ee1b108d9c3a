#include "gallery/placement.h"

namespace {
constexpr std::int32_t kGap = 60;
}

std::optional<Point> placeAfter(Point previous, std::int32_t width, std::int32_t height,
                                std::int32_t firstLeft, int i, OuterSize outer,
                                std::int16_t& thumbsPerRow) {
    const std::int32_t x = previous.left + width + kGap;
    // A right edge equal to the outer width still fits; a bottom edge equal to
    // the outer height does not.
    if (x + width > outer.width) {
        if (thumbsPerRow == 0)
            thumbsPerRow = static_cast<std::int16_t>(i);
        const std::int32_t y = previous.top + height + kGap;
        if (y + height < outer.height)
            return Point{firstLeft, y};
        return std::nullopt;
    }
    return Point{x, previous.top};
}
