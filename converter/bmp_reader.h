// Reads a BMP file into pixels that TurboJPEG compresses as they are.
#pragma once

#include <memory>

namespace pictavo::jpeg {

enum class BmpStatus { Ok, CannotRead, Unsupported };

/** Packed pixels in the file's row order, ready for tjCompress2. */
struct BmpPixels {
    std::unique_ptr<unsigned char[]> data;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int pixelFormat = 0; // a TJPF value
    bool bottomUp = false;
};

/**
 * Reads an uncompressed BMP (1, 4, 8, 16, 24 or 32 bits per pixel; BITMAPINFOHEADER up to V5;
 * bottom-up or top-down). The header is checked against the bounds and the file's length
 * before any pixel memory is allocated.
 */
BmpStatus readBmp(const char* path, BmpPixels& out);

} // namespace pictavo::jpeg
