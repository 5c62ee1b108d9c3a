#pragma once

#include <cmath>
#include <cstdint>

// The logic keeps positions and sizes in twips; the widgets work in pixels.
inline constexpr std::int32_t kTwipsPerPixel = 15;

inline constexpr std::int32_t pixelsToTwips(std::int32_t px) { return px * kTwipsPerPixel; }
inline constexpr std::int32_t twipsToPixels(std::int32_t twips) { return twips / kTwipsPerPixel; }

/** Nearest whole number, halves to the even neighbour. */
inline double roundHalfEven(double value) { return std::nearbyint(value); }
