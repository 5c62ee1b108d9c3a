// Reads a BMP file into pixels that TurboJPEG compresses as they are.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace pictavo::jpeg {

enum class BmpStatus { Ok, CannotRead, Unsupported };

/** A read-only mapping of a whole file, unmapped when it goes. */
class FileMapping {
public:
    FileMapping() = default;
    FileMapping(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}
    ~FileMapping();
    FileMapping(FileMapping&& other) noexcept { swap(other); }
    FileMapping& operator=(FileMapping&& other) noexcept {
        swap(other);
        return *this;
    }
    const unsigned char* data() const { return m_data; }

private:
    void swap(FileMapping& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
    }
    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
};

/** Packed pixels in the file's row order, ready for tjCompress2: in the file's own mapping
    when its rows are compressed as they are, else in a buffer of their own. */
struct BmpPixels {
    FileMapping file;
    // The file's bytes where it cannot be mapped.
    std::unique_ptr<unsigned char[]> fileCopy;
    std::unique_ptr<unsigned char[]> buffer;
    const unsigned char* data = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int pixelFormat = 0; // a TJPF value
    bool bottomUp = false;
};

/**
 * Reads an uncompressed BMP (1, 4, 8, 16, 24 or 32 bits per pixel; BITMAPINFOHEADER up to V5;
 * bottom-up or top-down), mapped whole. The header is checked against the bounds and the
 * file's length before any pixel memory is allocated.
 */
BmpStatus readBmp(const char* path, BmpPixels& out);

} // namespace pictavo::jpeg
