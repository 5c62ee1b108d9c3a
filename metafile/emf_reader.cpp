// EMF through libemf2svg, after a structural check of our own.
#include "metafile_format.h"
#include "readers.h"

#include <emf2svg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace metafile {

namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::size_t kMinHeaderSize = 88;
constexpr std::size_t kDescriptionLength = 60; // in UTF-16 units
constexpr std::size_t kDescriptionOffset = 64;
constexpr std::size_t kPixelFormatLength = 88;
constexpr std::size_t kPixelFormatOffset = 92;
constexpr double kHimetricPerInch = 2540;

struct Rect {
    std::int32_t left, top, right, bottom;
};

std::int32_t readI32(const unsigned char* p) {
    return static_cast<std::int32_t>(readU32(p));
}

Rect readRect(const unsigned char* p) {
    return {readI32(p), readI32(p + 4), readI32(p + 8), readI32(p + 12)};
}

void writeI32(std::vector<char>& b, std::size_t offset, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

// Offset just past the end record, or 0 when the records do not chain up to one.
std::size_t endOfRecords(const unsigned char* data, std::size_t size, std::size_t first,
                         std::string* why) {
    std::size_t off = first;
    while (size - off >= 8) {
        const std::uint32_t type = readU32(data + off);
        const std::uint32_t length = readU32(data + off + 4);
        if (length < 8 || length % 4 != 0 || length > size - off) {
            *why = "an EMF record has an impossible length";
            return 0;
        }
        if (type == kEmrHeader) {
            *why = "the EMF file has a second header";
            return 0;
        }
        off += length;
        if (type == kEmrEof)
            return off;
    }
    *why = "the EMF file ends before its last record";
    return 0;
}

// The library reads the description and the pixel format where the header points, as far as a
// terminating zero, whatever the lengths say: each must lie within the header record.
bool headerPointersHold(const unsigned char* data, std::size_t headerSize, std::string* why) {
    const std::uint64_t descriptionChars = readU32(data + kDescriptionLength);
    const std::uint64_t descriptionOffset = readU32(data + kDescriptionOffset);
    if ((descriptionOffset != 0 || descriptionChars != 0) &&
        (descriptionOffset < kMinHeaderSize || descriptionOffset % 2 != 0 ||
         descriptionOffset + 2 * descriptionChars > headerSize)) {
        *why = "the EMF description lies outside its header";
        return false;
    }
    if (headerSize >= kPixelFormatOffset + 4) {
        const std::uint64_t formatBytes = readU32(data + kPixelFormatLength);
        const std::uint64_t formatOffset = readU32(data + kPixelFormatOffset);
        if ((formatOffset != 0 || formatBytes != 0) &&
            (formatOffset < kMinHeaderSize || formatOffset + formatBytes > headerSize)) {
            *why = "the EMF pixel format lies outside its header";
            return false;
        }
    }
    return true;
}

// Neither is drawn, and the library would read the description past its stated length.
void dropHeaderPointers(std::vector<char>& copy, std::size_t headerSize) {
    writeI32(copy, kDescriptionLength, 0);
    writeI32(copy, kDescriptionOffset, 0);
    if (headerSize >= kPixelFormatOffset + 4) {
        writeI32(copy, kPixelFormatLength, 0);
        writeI32(copy, kPixelFormatOffset, 0);
    }
}

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

// The drawing inside libemf2svg's own document. Asked for the drawing alone, version 1.8
// leaves out the group that places it but still closes that group, so the whole document is
// asked for and its root element taken off here, on every version alike.
bool drawingInside(std::string_view document, std::string_view* drawing) {
    const std::size_t root = document.find("<svg");
    const std::size_t open = root == std::string_view::npos ? root : document.find('>', root);
    const std::size_t close = document.rfind("</svg>");
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open)
        return false;
    *drawing = document.substr(open + 1, close - open - 1);
    return true;
}

} // namespace

Result readEmf(const unsigned char* data, std::size_t size) {
    if (size < kMinHeaderSize)
        return failure(Status::Damaged, "the EMF header is cut short");
    const std::uint32_t headerSize = readU32(data + 4);
    if (headerSize < kMinHeaderSize || headerSize % 4 != 0 || headerSize > size)
        return failure(Status::Damaged, "the EMF header has an impossible length");

    std::string why;
    if (!headerPointersHold(data, headerSize, &why))
        return failure(Status::Damaged, why);

    const Rect frame = readRect(data + 24);
    const double deviceWidth = readI32(data + 72);
    const double deviceHeight = readI32(data + 76);
    const double millimetersWide = readI32(data + 80);
    const double millimetersHigh = readI32(data + 84);
    if (!(deviceWidth > 0 && deviceHeight > 0 && millimetersWide > 0 && millimetersHigh > 0))
        return failure(Status::BadSize, "the EMF header gives no device size");
    const double pxPerHimetricX = deviceWidth / (millimetersWide * 100);
    const double pxPerHimetricY = deviceHeight / (millimetersHigh * 100);
    // Between 2.5 and 250,000 device pixels per inch: anything else is not a real device.
    if (pxPerHimetricX < 0.001 || pxPerHimetricX > 100 || pxPerHimetricY < 0.001 ||
        pxPerHimetricY > 100)
        return failure(Status::BadSize, "the EMF header gives an impossible device resolution");

    const double frameWide = static_cast<double>(frame.right) - frame.left;
    const double frameHigh = static_cast<double>(frame.bottom) - frame.top;
    const int width = pixelsAt96Dpi(frameWide, kHimetricPerInch);
    const int height = pixelsAt96Dpi(frameHigh, kHimetricPerInch);
    if (width == 0 || height == 0)
        return failure(Status::BadSize, "the EMF picture size is empty or too large");

    const std::size_t end = endOfRecords(data, size, headerSize, &why);
    if (end == 0)
        return failure(Status::Damaged, why);

    // The frame, in device pixels, is the picture. libemf2svg places its drawing by the header's
    // bounds (the drawn area only), so hand it the frame as bounds, at a scale of 1.
    const double left = frame.left * pxPerHimetricX;
    const double top = frame.top * pxPerHimetricY;
    const double right = frame.right * pxPerHimetricX;
    const double bottom = frame.bottom * pxPerHimetricY;
    const double boundsLeft = std::floor(left);
    const double boundsRight = std::max(boundsLeft + 1, std::ceil(right));
    // Bounds across the x axis are libemf2svg 1.8's sign of a file from a broken writer, whose
    // y coordinates it then turns over: the bounds start at the axis, and the view box takes
    // up the whole offset down the page.
    const double boundsTop = 0;
    const double boundsBottom = std::max(1.0, std::ceil(bottom));
    constexpr double kLimit = 1e9;
    if (std::fabs(boundsLeft) > kLimit || std::fabs(boundsTop) > kLimit ||
        std::fabs(boundsRight) > kLimit || std::fabs(boundsBottom) > kLimit)
        return failure(Status::BadSize, "the EMF frame lies outside any device");

    std::vector<char> copy(data, data + end);
    writeI32(copy, 8, static_cast<std::int32_t>(boundsLeft));
    writeI32(copy, 12, static_cast<std::int32_t>(boundsTop));
    writeI32(copy, 16, static_cast<std::int32_t>(boundsRight));
    writeI32(copy, 20, static_cast<std::int32_t>(boundsBottom));
    dropHeaderPointers(copy, headerSize);

    char emptyNamespace[] = "";
    generatorOptions options{};
    options.nameSpace = emptyNamespace;
    options.verbose = false;
    options.emfplus = false; // dual files carry plain EMF records too; its EMF+ support is partial
    options.svgDelimiter = true;
    options.imgWidth = boundsRight - boundsLeft;
    options.imgHeight = 0;

    char* raw = nullptr;
    std::size_t rawLength = 0;
    const int ok = emf2svg(copy.data(), copy.size(), &raw, &rawLength, &options);
    const std::unique_ptr<char, FreeDeleter> out(raw);
    std::string_view drawing;
    if (ok != 1 || raw == nullptr || rawLength == 0 ||
        !drawingInside(std::string_view(raw, rawLength), &drawing))
        return failure(Status::ReaderFailed, "libemf2svg could not convert the EMF file");

    Result r;
    r.status = Status::Ok;
    r.frameWidth = width;
    r.frameHeight = height;
    const ViewBox view{left - boundsLeft, top - boundsTop, right - left, bottom - top};
    r.svg = svgDocument(width, height, view, drawing);
    return r;
}

} // namespace metafile
