// Recognises EMF and WMF files by their first bytes; shared by the helper and the program.
#pragma once

#include <cstddef>
#include <cstdint>

namespace metafile {

enum class Format { Unknown, Emf, Wmf };

// Enough leading bytes for sniffFormat to decide.
constexpr std::size_t kSniffBytes = 44;

constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

inline std::uint16_t readU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t readU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A standard WMF header: kind (memory or disk), 9 header words, version 1.0 or 3.0.
inline bool isWmfHeader(const unsigned char* p, std::size_t size) {
    if (size < 6)
        return false;
    const std::uint16_t kind = readU16(p);
    const std::uint16_t version = readU16(p + 4);
    return (kind == 1 || kind == 2) && readU16(p + 2) == 9 &&
           (version == 0x0100 || version == 0x0300);
}

inline Format sniffFormat(const unsigned char* data, std::size_t size) {
    if (size >= kSniffBytes && readU32(data) == 1 && readU32(data + 40) == kEmfSignature)
        return Format::Emf;
    if (size >= 4 && readU32(data) == kPlaceableKey)
        return Format::Wmf;
    if (isWmfHeader(data, size))
        return Format::Wmf;
    return Format::Unknown;
}

} // namespace metafile
