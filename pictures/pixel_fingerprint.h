// A 64-bit hash of a picture's size and pixels, so that two pictures can be told apart
// without holding or decoding either again.
#pragma once

#include <QImage>
#include <cstdint>

/** Equal for images of the same size whose pixels read the same as 32-bit ARGB, whatever
    format each is held in; 0 only for a null image. */
std::uint64_t pixelFingerprint(const QImage& image);
