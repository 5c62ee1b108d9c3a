#pragma once

#include <cstdint>
#include <optional>

struct Point {
    std::int32_t left = 0;
    std::int32_t top = 0;
    bool operator==(const Point&) const = default;
};

struct OuterSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

/** Where entry i goes after entry i - 1, or nothing when there is no room.
    Sets thumbsPerRow to i when it is 0 and the entry opens a new row. */
std::optional<Point> placeAfter(Point previous, std::int32_t width, std::int32_t height,
                                std::int32_t firstLeft, int i, OuterSize outer,
                                std::int16_t& thumbsPerRow);
