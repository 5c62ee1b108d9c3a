// WMF through libwmf's SVG device layer, after a structural check of our own. The device layer
// is steered through its public hooks: it is told the picture's rectangle (it would otherwise
// stretch the drawn area alone over the picture), its text is escaped (it writes text raw) and
// its colours are written exactly (it rounds them to the nearest SVG colour name).
#include "helper_protocol.h"
#include "metafile_format.h"
#include "readers.h"
#include "wmf_mapping.h"

#include <libwmf/api.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace metafile {

namespace {

constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kHeaderSize = 18;
constexpr double kPointsPerInch = 72; // libwmf's device unit

struct Scan {
    std::size_t end = 0; // just past the end record
    WmfMapping mapping;
};

// Walks the records as libwmf will, so that it is only ever handed a file whose records chain
// up to the end record and fit the header's record limit.
bool scanRecords(const unsigned char* data, std::size_t size, std::size_t first,
                 std::uint32_t maxRecordWords, Scan* scan, std::string* why) {
    std::size_t pos = first;
    bool mappingDone = false;
    while (size - pos >= 6) {
        const std::uint32_t words = readU32(data + pos);
        const std::uint16_t function = readU16(data + pos + 4);
        if (words < 3 || words > (size - pos) / 2) {
            *why = "a WMF record has an impossible length";
            return false;
        }
        if (words - 3 > maxRecordWords) {
            *why = "a WMF record is longer than its header allows";
            return false;
        }
        if (function == 0 && words == 3) {
            scan->end = pos + 6;
            return true;
        }
        if (!mappingDone)
            mappingDone = !scan->mapping.apply(function, data + pos + 6, (words - 3) * 2);
        pos += std::size_t{words} * 2;
    }
    *why = "the WMF file ends before its last record";
    return false;
}

// --- the device layer's hooks ---

struct Conversion {
    wmfFunctionReference original{};
    std::string out;
    bool overflow = false;
    bool haveColors = false;
    wmfRGB fill{};
    wmfRGB stroke{};
};

Conversion& conversionOf(wmfAPI* api) {
    return *static_cast<Conversion*>(api->user_data);
}

void appendHex(std::string& s, const wmfRGB& c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.r, c.g, c.b);
    s += hex;
}

bool startsWith(const char* s, const char* prefix) {
    return std::strncmp(s, prefix, std::strlen(prefix)) == 0;
}

// The SVG device writes each style colour with a call of its own ("fill:%s", "stroke:%s").
int putString(char* text, void* context) {
    auto& c = *static_cast<Conversion*>(context);
    if (c.overflow)
        return -1;
    if (c.haveColors && startsWith(text, "fill:") && std::strcmp(text, "fill:none") != 0) {
        c.out += "fill:";
        appendHex(c.out, c.fill);
    } else if (c.haveColors && startsWith(text, "stroke:") &&
               std::strcmp(text, "stroke:none") != 0) {
        c.out += "stroke:";
        appendHex(c.out, c.stroke);
    } else {
        c.out += text;
    }
    if (c.out.size() > kMaxSvgBytes) {
        c.overflow = true;
        c.out.clear();
        return -1;
    }
    return 0;
}

int resetStream(void* context) {
    static_cast<Conversion*>(context)->out.clear();
    return 0;
}

template <auto Slot, typename Arg> void withDcColors(wmfAPI* api, Arg* arg) {
    Conversion& c = conversionOf(api);
    c.haveColors = true;
    c.fill = *WMF_BRUSH_COLOR(WMF_DC_BRUSH(arg->dc));
    c.stroke = *WMF_PEN_COLOR(WMF_DC_PEN(arg->dc));
    (c.original.*Slot)(api, arg);
    c.haveColors = false;
}

void drawPixel(wmfAPI* api, wmfDrawPixel_t* pixel) {
    Conversion& c = conversionOf(api);
    c.haveColors = true;
    c.fill = c.stroke = pixel->color;
    c.original.draw_pixel(api, pixel);
    c.haveColors = false;
}

// Windows-1252 for 0x80-0x9F; Latin-1 elsewhere. 0 marks an unassigned code.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& s, char32_t u) {
    if (u < 0x80) {
        s += static_cast<char>(u);
    } else if (u < 0x800) {
        s += static_cast<char>(0xC0 | (u >> 6));
        s += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (u >> 12));
        s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (u & 0x3F));
    }
}

std::string xmlText(const char* raw) {
    std::string s;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(raw); *p; ++p) {
        const unsigned char b = *p;
        if (b == '<')
            s += "&lt;";
        else if (b == '>')
            s += "&gt;";
        else if (b == '&')
            s += "&amp;";
        else if (b < 0x20)
            s += ' '; // control characters are not allowed in XML text
        else if (b >= 0x80 && b < 0xA0)
            appendUtf8(s, kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : u'?');
        else
            appendUtf8(s, b);
    }
    return s;
}

void drawText(wmfAPI* api, wmfDrawText_t* text) {
    Conversion& c = conversionOf(api);
    std::string escaped = xmlText(text->str ? text->str : "");
    wmfDrawText_t copy = *text;
    copy.str = escaped.data();
    c.haveColors = true;
    c.fill = c.stroke = *WMF_DC_TEXTCOLOR(text->dc);
    c.original.draw_text(api, &copy);
    c.haveColors = false;
}

void installHooks(wmfAPI* api) {
    auto* fr = static_cast<wmfFunctionReference*>(api->function_reference);
    Conversion& c = conversionOf(api);
    c.original = *fr;
    fr->draw_pie = withDcColors<&wmfFunctionReference::draw_pie, wmfDrawArc_t>;
    fr->draw_chord = withDcColors<&wmfFunctionReference::draw_chord, wmfDrawArc_t>;
    fr->draw_arc = withDcColors<&wmfFunctionReference::draw_arc, wmfDrawArc_t>;
    fr->draw_ellipse = withDcColors<&wmfFunctionReference::draw_ellipse, wmfDrawArc_t>;
    fr->draw_line = withDcColors<&wmfFunctionReference::draw_line, wmfDrawLine_t>;
    fr->poly_line = withDcColors<&wmfFunctionReference::poly_line, wmfPolyLine_t>;
    fr->draw_polygon = withDcColors<&wmfFunctionReference::draw_polygon, wmfPolyLine_t>;
    fr->draw_rectangle = withDcColors<&wmfFunctionReference::draw_rectangle, wmfDrawRectangle_t>;
    if (c.original.draw_polypolygon)
        fr->draw_polypolygon = withDcColors<&wmfFunctionReference::draw_polypolygon, wmfPolyPoly_t>;
    if (c.original.region_paint)
        fr->region_paint = withDcColors<&wmfFunctionReference::region_paint, wmfPolyRectangle_t>;
    if (c.original.region_frame)
        fr->region_frame = withDcColors<&wmfFunctionReference::region_frame, wmfPolyRectangle_t>;
    if (c.original.draw_pixel)
        fr->draw_pixel = drawPixel;
    fr->draw_text = drawText;
}

struct ApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

// libwmf's document minus its prolog and root element, which svgDocument replaces.
std::string_view svgBody(const std::string& doc) {
    const std::size_t open = doc.find("<svg");
    const std::size_t openEnd = open == std::string::npos ? open : doc.find('>', open);
    const std::size_t close = doc.rfind("</svg>");
    if (openEnd == std::string::npos || close == std::string::npos || close < openEnd)
        return {};
    return std::string_view(doc).substr(openEnd + 1, close - openEnd - 1);
}

} // namespace

namespace {

// What the structural check learns, and what the conversion needs.
struct Layout {
    bool placeable = false;
    Scan scan;
    bool haveFrame = false; // else the picture is what the file draws
    LogicalRect frame;
    int width = 0; // natural size, once known
    int height = 0;
};

Result checkLayout(const unsigned char* data, std::size_t size, Layout* layout) {
    std::size_t headerAt = 0;
    double unitsPerInch = 0;
    if (size >= 4 && readU32(data) == kPlaceableKey) {
        if (size < kPlaceableSize + kHeaderSize)
            return failure(Status::Damaged, "the WMF header is cut short");
        layout->placeable = true;
        headerAt = kPlaceableSize;
        const auto i16 = [&](std::size_t at) {
            return static_cast<double>(static_cast<std::int16_t>(readU16(data + at)));
        };
        layout->frame = {i16(6), i16(8), i16(10), i16(12)};
        layout->haveFrame = true;
        unitsPerInch = readU16(data + 14);
    }
    if (size - headerAt < kHeaderSize || !isWmfHeader(data + headerAt, size - headerAt))
        return failure(Status::Damaged, "the WMF header is damaged");
    const std::uint32_t maxRecordWords = readU32(data + headerAt + 12);
    if (maxRecordWords > (size - headerAt) / 2)
        return failure(Status::Damaged, "the WMF header claims records longer than the file");

    layout->scan.mapping = WmfMapping(layout->placeable, unitsPerInch);
    std::string why;
    if (!scanRecords(data, size, headerAt + kHeaderSize, maxRecordWords, &layout->scan, &why))
        return failure(Status::Damaged, why);

    // The picture is the placeable header's box, else the window the file sets, else (a file
    // that says nothing of its extent) what it draws.
    if (!layout->placeable && layout->scan.mapping.window(&layout->frame)) {
        layout->haveFrame = true;
        unitsPerInch = layout->scan.mapping.unitsPerInch();
    }
    if (layout->haveFrame) {
        const LogicalRect& f = layout->frame;
        layout->width = pixelsAt96Dpi(std::abs(f.right - f.left), unitsPerInch);
        layout->height = pixelsAt96Dpi(std::abs(f.bottom - f.top), unitsPerInch);
        if (layout->width == 0 || layout->height == 0)
            return failure(Status::BadSize, "the WMF picture size is empty or too large");
    }
    Result ok;
    ok.status = Status::Ok;
    return ok;
}

Result convert(const unsigned char* data, Layout layout) {
    // Only the records up to the end record reach libwmf.
    std::vector<unsigned char> copy(data, data + layout.scan.end);
    Conversion conversion;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* rawApi = nullptr;
    const wmf_error_t created = wmf_api_create(&rawApi, flags, &options);
    const std::unique_ptr<wmfAPI, ApiDeleter> api(rawApi);
    if (created != wmf_E_None || !api)
        return failure(Status::ReaderFailed, "libwmf could not start");
    api->user_data = &conversion;

    wmfD_Rect drawn{};
    if (wmf_mem_open(api.get(), copy.data(), static_cast<long>(copy.size())) != wmf_E_None ||
        wmf_scan(api.get(), 0, &drawn) != wmf_E_None)
        return failure(Status::ReaderFailed, "libwmf could not read the WMF file");

    wmfD_Rect picture = drawn;
    if (layout.haveFrame) {
        // A mapping that cannot place the box leaves the drawn area as the picture.
        layout.scan.mapping.toDevice(layout.frame, &picture.TL.x, &picture.TL.y, &picture.BR.x,
                                     &picture.BR.y);
    } else {
        layout.width = pixelsAt96Dpi(drawn.BR.x - drawn.TL.x, kPointsPerInch);
        layout.height = pixelsAt96Dpi(drawn.BR.y - drawn.TL.y, kPointsPerInch);
        if (layout.width == 0 || layout.height == 0)
            return failure(Status::BadSize, "the WMF drawing is empty or too large");
    }
    if (!(picture.BR.x > picture.TL.x && picture.BR.y > picture.TL.y))
        return failure(Status::ReaderFailed, "the WMF file draws nothing");

    wmf_svg_t* device = WMF_SVG_GetData(api.get());
    device->bbox = picture;
    device->width = static_cast<unsigned>(layout.width);
    device->height = static_cast<unsigned>(layout.height);
    device->flags |= WMF_SVG_INLINE_IMAGES;
    wmfStream stream{&conversion, putString, resetStream};
    device->out = &stream;
    installHooks(api.get());
    wmfD_Rect played{};
    const wmf_error_t playedOk = wmf_play(api.get(), 0, &played);
    device->out = nullptr; // the stream ends before the library does

    if (conversion.overflow)
        return failure(Status::ReaderFailed, "the WMF drawing is too large");
    if (playedOk != wmf_E_None)
        return failure(Status::ReaderFailed, "libwmf could not draw the WMF file");
    const std::string_view body = svgBody(conversion.out);
    if (body.empty())
        return failure(Status::ReaderFailed, "libwmf produced no drawing");

    Result r;
    r.status = Status::Ok;
    r.frameWidth = layout.width;
    r.frameHeight = layout.height;
    const ViewBox view{0, 0, double(layout.width), double(layout.height)};
    r.svg = svgDocument(layout.width, layout.height, view, body);
    return r;
}

} // namespace

Result readWmf(const unsigned char* data, std::size_t size) {
    Layout layout;
    Result checked = checkLayout(data, size, &layout);
    if (checked.status != Status::Ok)
        return checked;
    return convert(data, layout);
}

} // namespace metafile
