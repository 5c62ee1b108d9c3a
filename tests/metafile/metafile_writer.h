// Writes small, valid EMF and WMF files so the tests and the fuzzer's seeds need no outside files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace metafile_test {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

// Offsets of header fields that the tests damage on purpose.
namespace emf_offset {
constexpr std::size_t kBounds = 8;
constexpr std::size_t kFrame = 24;
constexpr std::size_t kSignature = 40;
constexpr std::size_t kBytes = 48;
constexpr std::size_t kRecords = 52;
constexpr std::size_t kHandles = 56;
constexpr std::size_t kDescriptionChars = 60;
constexpr std::size_t kDescriptionOffset = 64;
constexpr std::size_t kDevice = 72;
constexpr std::size_t kMillimeters = 80;
constexpr std::size_t kPixelFormatBytes = 88;
constexpr std::size_t kPixelFormatOffset = 92;
constexpr std::size_t kHeaderSize = 108;
} // namespace emf_offset

namespace wmf_offset {
constexpr std::size_t kPlaceableBox = 6;
constexpr std::size_t kPlaceableInch = 14;
constexpr std::size_t kPlaceableSize = 22;
// Relative to the start of the standard header.
constexpr std::size_t kFileWords = 6;
constexpr std::size_t kObjects = 10;
constexpr std::size_t kMaxRecord = 12;
constexpr std::size_t kHeaderSize = 18;
} // namespace wmf_offset

// An EMF drawn in pixels of a 96 dpi reference device; the frame is the whole picture.
class EmfWriter {
public:
    // Drawing coordinates are pixels of a reference device of deviceDpi.
    EmfWriter(int widthPx, int heightPx, int deviceDpi = 96);

    std::uint32_t createPen(Rgb color, int width);
    std::uint32_t createBrush(Rgb color);
    // style: 0 horizontal, 1 vertical, 2 and 3 diagonal, 4 cross, 5 diagonal cross.
    std::uint32_t createHatchBrush(Rgb color, int style);
    void saveDc();
    void restoreDc();
    void intersectClip(int left, int top, int right, int bottom);
    // A 24-bit bitmap of 2 x 2 cells (top-left, top-right, bottom-left, bottom-right colours),
    // each cellPx square, stretched over the destination rectangle.
    void bitmap(int left, int top, int width, int height, const Rgb (&cells)[4], int cellPx = 4);
    void select(std::uint32_t handle);
    void deleteObject(std::uint32_t handle);
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    void polyline(const std::vector<Point>& points);
    void polygon(const std::vector<Point>& points);
    std::uint32_t createFont(int heightPx, const std::string& face);
    void textColor(Rgb color);
    // Latin-1 text at a baseline-left point (stored as UTF-16).
    void text(int x, int y, const std::string& latin1);
    // Any record, for damaged files; the size field is written as given.
    void rawRecord(std::uint32_t type, std::uint32_t sizeField, const Bytes& payload);

    Bytes finish() const;

private:
    void record(std::uint32_t type, const Bytes& payload);
    void poly16(std::uint32_t type, const std::vector<Point>& points);
    void grow(int left, int top, int right, int bottom);

    int m_width;
    int m_height;
    int m_deviceDpi;
    Bytes m_records;
    std::uint32_t m_recordCount = 0;
    std::uint32_t m_nextHandle = 1;
    int m_boundsLeft = 0;
    int m_boundsTop = 0;
    int m_boundsRight = -1;
    int m_boundsBottom = -1;
};

// A placeable WMF; coordinates are given in pixels at 96 dpi and stored in units of 1/inch.
class WmfWriter {
public:
    WmfWriter(int widthPx, int heightPx, int unitsPerInch = 1440);

    std::uint16_t createPen(Rgb color, int width);
    std::uint16_t createBrush(Rgb color);
    void select(std::uint16_t index);
    void deleteObject(std::uint16_t index);
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    void polyline(const std::vector<Point>& points);
    void polygon(const std::vector<Point>& points);
    std::uint16_t createFont(int heightPx, const std::string& face);
    void textColor(Rgb color);
    // Windows-1252 text at a baseline-left point.
    void text(int x, int y, const std::string& cp1252);
    void rawRecord(std::uint32_t sizeWords, std::uint16_t function, const Bytes& payload);

    // With the placeable header (the usual file) or only the standard header.
    Bytes finish(bool placeable = true) const;

private:
    std::int16_t units(int px) const;
    void record(std::uint16_t function, const std::vector<std::int16_t>& params);
    std::uint16_t addObject();

    int m_width;
    int m_height;
    int m_inch;
    Bytes m_records;
    std::uint32_t m_maxRecordWords = 3;
    std::vector<bool> m_objectsInUse;
};

// Little-endian field access for tests that damage files.
void putU16(Bytes& bytes, std::size_t offset, std::uint16_t value);
void putU32(Bytes& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t getU32(const Bytes& bytes, std::size_t offset);

// Sample files with a known drawing, shared by the tests and the fuzzer's seeds:
// on white, a red rectangle at (20,20)-(80,60), a blue ellipse at (100,40)-(170,120)
// and a green polyline, in a 192 x 144 pixel frame.
Bytes sampleEmf();
Bytes sampleWmf(bool placeable = true);
// A red rectangle at (80,60)-(112,84) alone in a 192 x 144 frame.
Bytes smallEmf();
Bytes smallWmf(bool placeable = true);
// Blue text "R&D <b>" with its baseline-left point at (20,60), in a 192 x 144 frame.
Bytes textEmf();
Bytes textWmf();
// A bitmap of red, green / blue, white cells over (40,30)-(120,90) in a 192 x 144 frame.
Bytes bitmapEmf();
// More of what real files hold: hatching, clipping, a polygon, thick pens and text.
Bytes richEmf();

struct NamedSample {
    std::string name;
    Bytes bytes;
};
// Every sample above, named as a file.
std::vector<NamedSample> allSamples();

bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace metafile_test
