#include "metafile_writer.h"

#include <algorithm>
#include <fstream>

namespace metafile_test {

namespace {

// EMF record types.
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrSelectObject = 37;
constexpr std::uint32_t kEmrCreatePen = 38;
constexpr std::uint32_t kEmrCreateBrushIndirect = 39;
constexpr std::uint32_t kEmrDeleteObject = 40;
constexpr std::uint32_t kEmrEllipse = 42;
constexpr std::uint32_t kEmrRectangle = 43;
constexpr std::uint32_t kEmrPolygon16 = 86;
constexpr std::uint32_t kEmrPolyline16 = 87;
constexpr std::uint32_t kEmrSetBkMode = 18;
constexpr std::uint32_t kEmrSetTextAlign = 22;
constexpr std::uint32_t kEmrSetTextColor = 24;
constexpr std::uint32_t kEmrExtCreateFontIndirectW = 82;
constexpr std::uint32_t kEmrExtTextOutW = 84;
constexpr std::uint32_t kEmrIntersectClipRect = 30;
constexpr std::uint32_t kEmrSaveDc = 33;
constexpr std::uint32_t kEmrStretchDiBits = 81;
constexpr std::uint32_t kEmrRestoreDc = 34;
constexpr std::uint32_t kTransparent = 1;
constexpr std::uint32_t kAlignBaseline = 24;

// WMF record functions.
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSetMapMode = 0x0103;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaSelectObject = 0x012D;
constexpr std::uint16_t kMetaDeleteObject = 0x01F0;
constexpr std::uint16_t kMetaCreatePen = 0x02FA;
constexpr std::uint16_t kMetaCreateBrush = 0x02FC;
constexpr std::uint16_t kMetaEllipse = 0x0418;
constexpr std::uint16_t kMetaRectangle = 0x041B;
constexpr std::uint16_t kMetaPolygon = 0x0324;
constexpr std::uint16_t kMetaPolyline = 0x0325;
constexpr std::uint16_t kMetaSetBkMode = 0x0102;
constexpr std::uint16_t kMetaSetTextAlign = 0x012E;
constexpr std::uint16_t kMetaSetTextColor = 0x0209;
constexpr std::uint16_t kMetaCreateFont = 0x02FB;
constexpr std::uint16_t kMetaTextOut = 0x0521;
constexpr std::uint16_t kMmAnisotropic = 8;

// The reference device is 10 inches square.
constexpr int kDeviceMm = 254;
constexpr int kHimetricPerInch = 2540;

void add16(Bytes& b, std::uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void add32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

void addI32(Bytes& b, int v) {
    add32(b, static_cast<std::uint32_t>(v));
}

void addI16(Bytes& b, int v) {
    add16(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
}

std::uint32_t colorRef(Rgb c) {
    return c.r | (c.g << 8) | (c.b << 16);
}

} // namespace

void putU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = value & 0xFF;
    bytes.at(offset + 1) = value >> 8;
}

void putU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = (value >> (8 * i)) & 0xFF;
}

std::uint32_t getU32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | bytes.at(offset + i);
    return v;
}

EmfWriter::EmfWriter(int widthPx, int heightPx, int deviceDpi)
    : m_width(widthPx), m_height(heightPx), m_deviceDpi(deviceDpi) {}

void EmfWriter::record(std::uint32_t type, const Bytes& payload) {
    rawRecord(type, static_cast<std::uint32_t>(8 + payload.size()), payload);
}

void EmfWriter::rawRecord(std::uint32_t type, std::uint32_t sizeField, const Bytes& payload) {
    add32(m_records, type);
    add32(m_records, sizeField);
    m_records.insert(m_records.end(), payload.begin(), payload.end());
    ++m_recordCount;
}

void EmfWriter::grow(int left, int top, int right, int bottom) {
    if (m_boundsRight < m_boundsLeft) {
        m_boundsLeft = left;
        m_boundsTop = top;
        m_boundsRight = right;
        m_boundsBottom = bottom;
        return;
    }
    m_boundsLeft = std::min(m_boundsLeft, left);
    m_boundsTop = std::min(m_boundsTop, top);
    m_boundsRight = std::max(m_boundsRight, right);
    m_boundsBottom = std::max(m_boundsBottom, bottom);
}

std::uint32_t EmfWriter::createPen(Rgb color, int width) {
    const std::uint32_t handle = m_nextHandle++;
    Bytes p;
    add32(p, handle);
    add32(p, 0); // PS_SOLID
    addI32(p, width);
    addI32(p, 0);
    add32(p, colorRef(color));
    record(kEmrCreatePen, p);
    return handle;
}

std::uint32_t EmfWriter::createBrush(Rgb color) {
    const std::uint32_t handle = m_nextHandle++;
    Bytes p;
    add32(p, handle);
    add32(p, 0); // BS_SOLID
    add32(p, colorRef(color));
    add32(p, 0);
    record(kEmrCreateBrushIndirect, p);
    return handle;
}

std::uint32_t EmfWriter::createHatchBrush(Rgb color, int style) {
    const std::uint32_t handle = m_nextHandle++;
    Bytes p;
    add32(p, handle);
    add32(p, 2); // BS_HATCHED
    add32(p, colorRef(color));
    add32(p, static_cast<std::uint32_t>(style));
    record(kEmrCreateBrushIndirect, p);
    return handle;
}

void EmfWriter::saveDc() {
    record(kEmrSaveDc, {});
}

void EmfWriter::restoreDc() {
    Bytes p;
    addI32(p, -1);
    record(kEmrRestoreDc, p);
}

void EmfWriter::intersectClip(int left, int top, int right, int bottom) {
    Bytes p;
    for (int v : {left, top, right, bottom})
        addI32(p, v);
    record(kEmrIntersectClipRect, p);
}

void EmfWriter::bitmap(int left, int top, int width, int height, const Rgb (&cells)[4],
                       int cellPx) {
    const int side = 2 * cellPx;
    const std::uint32_t rowBytes = static_cast<std::uint32_t>((side * 3 + 3) / 4 * 4);
    Bytes pixels;
    for (int row = side - 1; row >= 0; --row) { // bottom-up
        for (int col = 0; col < side; ++col) {
            const Rgb& c = cells[(row < cellPx ? 0 : 2) + (col < cellPx ? 0 : 1)];
            pixels.push_back(c.b);
            pixels.push_back(c.g);
            pixels.push_back(c.r);
        }
        while (pixels.size() % 4 != 0)
            pixels.push_back(0);
    }
    constexpr std::uint32_t kFixed = 80;
    constexpr std::uint32_t kInfo = 40;
    Bytes p;
    for (int v : {left, top, left + width - 1, top + height - 1})
        addI32(p, v);
    for (int v : {left, top, 0, 0, side, side})
        addI32(p, v);
    add32(p, kFixed);
    add32(p, kInfo);
    add32(p, kFixed + kInfo);
    add32(p, rowBytes * side);
    add32(p, 0);          // DIB_RGB_COLORS
    add32(p, 0x00CC0020); // SRCCOPY
    addI32(p, width);
    addI32(p, height);
    add32(p, kInfo);
    addI32(p, side);
    addI32(p, side);
    add16(p, 1);
    add16(p, 24);
    add32(p, 0); // BI_RGB
    add32(p, rowBytes * side);
    for (int i = 0; i < 4; ++i)
        add32(p, 0); // resolution, colours used, colours important
    p.insert(p.end(), pixels.begin(), pixels.end());
    record(kEmrStretchDiBits, p);
    grow(left, top, left + width - 1, top + height - 1);
}

void EmfWriter::select(std::uint32_t handle) {
    Bytes p;
    add32(p, handle);
    record(kEmrSelectObject, p);
}

void EmfWriter::deleteObject(std::uint32_t handle) {
    Bytes p;
    add32(p, handle);
    record(kEmrDeleteObject, p);
}

void EmfWriter::rectangle(int left, int top, int right, int bottom) {
    Bytes p;
    for (int v : {left, top, right, bottom})
        addI32(p, v);
    record(kEmrRectangle, p);
    grow(left, top, right - 1, bottom - 1);
}

void EmfWriter::ellipse(int left, int top, int right, int bottom) {
    Bytes p;
    for (int v : {left, top, right, bottom})
        addI32(p, v);
    record(kEmrEllipse, p);
    grow(left, top, right - 1, bottom - 1);
}

void EmfWriter::poly16(std::uint32_t type, const std::vector<Point>& points) {
    int l = points.front().x, t = points.front().y, r = l, b = t;
    for (const Point& pt : points) {
        l = std::min(l, pt.x);
        t = std::min(t, pt.y);
        r = std::max(r, pt.x);
        b = std::max(b, pt.y);
    }
    Bytes p;
    for (int v : {l, t, r, b})
        addI32(p, v);
    add32(p, static_cast<std::uint32_t>(points.size()));
    for (const Point& pt : points) {
        addI16(p, pt.x);
        addI16(p, pt.y);
    }
    while (p.size() % 4 != 0)
        p.push_back(0);
    record(type, p);
    grow(l, t, r, b);
}

void EmfWriter::polyline(const std::vector<Point>& points) {
    poly16(kEmrPolyline16, points);
}

void EmfWriter::polygon(const std::vector<Point>& points) {
    poly16(kEmrPolygon16, points);
}

std::uint32_t EmfWriter::createFont(int heightPx, const std::string& face) {
    const std::uint32_t handle = m_nextHandle++;
    Bytes p;
    add32(p, handle);
    addI32(p, -heightPx); // negative: the character height, not the cell height
    for (int i = 0; i < 3; ++i)
        addI32(p, 0); // width, escapement, orientation
    addI32(p, 400);   // normal weight
    for (int i = 0; i < 8; ++i)
        p.push_back(0); // italic, underline, strike-out, charset, precisions, quality, pitch
    for (std::size_t i = 0; i < 32; ++i)
        add16(p, i < face.size() ? static_cast<unsigned char>(face[i]) : 0);
    // The rest of the extended logical font (full name, style, script) stays empty.
    p.resize(4 + 320, 0);
    record(kEmrExtCreateFontIndirectW, p);
    return handle;
}

void EmfWriter::textColor(Rgb color) {
    Bytes p;
    add32(p, colorRef(color));
    record(kEmrSetTextColor, p);
}

void EmfWriter::text(int x, int y, const std::string& latin1) {
    Bytes mode;
    add32(mode, kTransparent);
    record(kEmrSetBkMode, mode);
    Bytes align;
    add32(align, kAlignBaseline);
    record(kEmrSetTextAlign, align);

    const std::uint32_t n = static_cast<std::uint32_t>(latin1.size());
    constexpr std::uint32_t kStringAt = 76; // this record's fixed part, type and size included
    const std::uint32_t stringBytes = (2 * n + 3) / 4 * 4;
    Bytes p;
    for (int v : {x, y - 20, x + 10 * static_cast<int>(n), y + 5})
        addI32(p, v);     // bounds, roughly
    add32(p, 1);          // GM_COMPATIBLE
    add32(p, 0x3F800000); // x scale 1.0f
    add32(p, 0x3F800000); // y scale 1.0f
    addI32(p, x);
    addI32(p, y);
    add32(p, n);
    add32(p, kStringAt);
    add32(p, 0); // no options
    for (int i = 0; i < 4; ++i)
        addI32(p, 0); // no clipping rectangle
    add32(p, kStringAt + stringBytes);
    for (unsigned char c : latin1)
        add16(p, c);
    while (p.size() % 4 != 0)
        p.push_back(0);
    for (std::uint32_t i = 0; i < n; ++i)
        add32(p, 10); // advance of each character
    record(kEmrExtTextOutW, p);
    grow(x, y - 20, x + 10 * static_cast<int>(n), y + 5);
}

Bytes EmfWriter::finish() const {
    Bytes eof;
    add32(eof, kEmrEof);
    add32(eof, 20);
    add32(eof, 0);  // no palette entries
    add32(eof, 16); // where they would start
    add32(eof, 20); // this record's size, repeated at its end

    const std::uint32_t total =
        static_cast<std::uint32_t>(emf_offset::kHeaderSize + m_records.size() + eof.size());
    Bytes out;
    add32(out, kEmrHeader);
    add32(out, emf_offset::kHeaderSize);
    for (int v : {m_boundsLeft, m_boundsTop, m_boundsRight, m_boundsBottom})
        addI32(out, v);
    for (int v : {0, 0, m_width * kHimetricPerInch / 96, m_height * kHimetricPerInch / 96})
        addI32(out, v);
    add32(out, 0x464D4520); // " EMF"
    add32(out, 0x00010000);
    add32(out, total);
    add32(out, m_recordCount + 2);
    add16(out, static_cast<std::uint16_t>(m_nextHandle));
    add16(out, 0);
    add32(out, 0); // no description
    add32(out, 0);
    add32(out, 0); // no palette
    addI32(out, 10 * m_deviceDpi);
    addI32(out, 10 * m_deviceDpi);
    addI32(out, kDeviceMm);
    addI32(out, kDeviceMm);
    add32(out, 0); // no pixel format
    add32(out, 0);
    add32(out, 0); // no OpenGL
    addI32(out, kDeviceMm * 1000);
    addI32(out, kDeviceMm * 1000);
    out.insert(out.end(), m_records.begin(), m_records.end());
    out.insert(out.end(), eof.begin(), eof.end());
    return out;
}

WmfWriter::WmfWriter(int widthPx, int heightPx, int unitsPerInch)
    : m_width(widthPx), m_height(heightPx), m_inch(unitsPerInch) {
    record(kMetaSetMapMode, {kMmAnisotropic});
    record(kMetaSetWindowOrg, {0, 0});
    record(kMetaSetWindowExt, {units(m_height), units(m_width)});
}

std::int16_t WmfWriter::units(int px) const {
    return static_cast<std::int16_t>(static_cast<long long>(px) * m_inch / 96);
}

void WmfWriter::record(std::uint16_t function, const std::vector<std::int16_t>& params) {
    Bytes p;
    for (std::int16_t v : params)
        addI16(p, v);
    rawRecord(static_cast<std::uint32_t>(3 + params.size()), function, p);
}

void WmfWriter::rawRecord(std::uint32_t sizeWords, std::uint16_t function, const Bytes& payload) {
    add32(m_records, sizeWords);
    add16(m_records, function);
    m_records.insert(m_records.end(), payload.begin(), payload.end());
    m_maxRecordWords = std::max<std::uint32_t>(m_maxRecordWords,
                                               static_cast<std::uint32_t>(3 + payload.size() / 2));
}

std::uint16_t WmfWriter::addObject() {
    // A new object takes the lowest free slot of the object table.
    auto it = std::find(m_objectsInUse.begin(), m_objectsInUse.end(), false);
    if (it == m_objectsInUse.end())
        it = m_objectsInUse.insert(it, false);
    *it = true;
    return static_cast<std::uint16_t>(it - m_objectsInUse.begin());
}

std::uint16_t WmfWriter::createPen(Rgb color, int width) {
    const std::uint32_t c = colorRef(color);
    record(kMetaCreatePen, {0, units(width), 0, static_cast<std::int16_t>(c & 0xFFFF),
                            static_cast<std::int16_t>(c >> 16)});
    return addObject();
}

std::uint16_t WmfWriter::createBrush(Rgb color) {
    const std::uint32_t c = colorRef(color);
    record(kMetaCreateBrush,
           {0, static_cast<std::int16_t>(c & 0xFFFF), static_cast<std::int16_t>(c >> 16), 0});
    return addObject();
}

void WmfWriter::select(std::uint16_t index) {
    record(kMetaSelectObject, {static_cast<std::int16_t>(index)});
}

void WmfWriter::deleteObject(std::uint16_t index) {
    record(kMetaDeleteObject, {static_cast<std::int16_t>(index)});
    if (index < m_objectsInUse.size())
        m_objectsInUse[index] = false;
}

void WmfWriter::rectangle(int left, int top, int right, int bottom) {
    // WMF stores the parameters last to first.
    record(kMetaRectangle, {units(bottom), units(right), units(top), units(left)});
}

void WmfWriter::ellipse(int left, int top, int right, int bottom) {
    record(kMetaEllipse, {units(bottom), units(right), units(top), units(left)});
}

void WmfWriter::polyline(const std::vector<Point>& points) {
    std::vector<std::int16_t> params{static_cast<std::int16_t>(points.size())};
    for (const Point& pt : points) {
        params.push_back(units(pt.x));
        params.push_back(units(pt.y));
    }
    record(kMetaPolyline, params);
}

void WmfWriter::polygon(const std::vector<Point>& points) {
    std::vector<std::int16_t> params{static_cast<std::int16_t>(points.size())};
    for (const Point& pt : points) {
        params.push_back(units(pt.x));
        params.push_back(units(pt.y));
    }
    record(kMetaPolygon, params);
}

std::uint16_t WmfWriter::createFont(int heightPx, const std::string& face) {
    Bytes p;
    addI16(p, -units(heightPx));
    for (int i = 0; i < 3; ++i)
        addI16(p, 0); // width, escapement, orientation
    addI16(p, 400);
    for (int i = 0; i < 8; ++i)
        p.push_back(0);
    for (char c : face.substr(0, 31))
        p.push_back(static_cast<std::uint8_t>(c));
    p.push_back(0);
    if (p.size() % 2 != 0)
        p.push_back(0);
    rawRecord(static_cast<std::uint32_t>(3 + p.size() / 2), kMetaCreateFont, p);
    return addObject();
}

void WmfWriter::textColor(Rgb color) {
    const std::uint32_t c = colorRef(color);
    record(kMetaSetTextColor,
           {static_cast<std::int16_t>(c & 0xFFFF), static_cast<std::int16_t>(c >> 16)});
}

void WmfWriter::text(int x, int y, const std::string& cp1252) {
    record(kMetaSetBkMode, {1});
    record(kMetaSetTextAlign, {24});
    Bytes p;
    addI16(p, static_cast<int>(cp1252.size()));
    for (char c : cp1252)
        p.push_back(static_cast<std::uint8_t>(c));
    if (p.size() % 2 != 0)
        p.push_back(0);
    addI16(p, units(y));
    addI16(p, units(x));
    rawRecord(static_cast<std::uint32_t>(3 + p.size() / 2), kMetaTextOut, p);
}

Bytes WmfWriter::finish(bool placeable) const {
    Bytes body = m_records;
    add32(body, 3);
    add16(body, kMetaEof);

    Bytes out;
    if (placeable) {
        add32(out, 0x9AC6CDD7);
        add16(out, 0);
        for (int v : {0, 0, static_cast<int>(units(m_width)), static_cast<int>(units(m_height))})
            addI16(out, v);
        add16(out, static_cast<std::uint16_t>(m_inch));
        add32(out, 0);
        std::uint16_t checksum = 0;
        for (std::size_t i = 0; i < out.size(); i += 2)
            checksum ^= static_cast<std::uint16_t>(out[i] | (out[i + 1] << 8));
        add16(out, checksum);
    }
    add16(out, 1); // in memory
    add16(out, 9); // header words
    add16(out, 0x0300);
    add32(out, static_cast<std::uint32_t>((wmf_offset::kHeaderSize + body.size()) / 2));
    add16(out, static_cast<std::uint16_t>(m_objectsInUse.size()));
    add32(out, m_maxRecordWords);
    add16(out, 0);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

namespace {
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kBlack{0, 0, 0};
const std::vector<Point> kLine{{10, 130}, {90, 80}, {180, 130}};
const Rgb kCells[4] = {kRed, kGreen, kBlue, kWhite};
} // namespace

Bytes sampleEmf() {
    EmfWriter w(192, 144);
    const auto whitePen = w.createPen(kWhite, 1);
    const auto whiteBrush = w.createBrush(kWhite);
    w.select(whitePen);
    w.select(whiteBrush);
    w.rectangle(0, 0, 192, 144);
    const auto redPen = w.createPen(kRed, 1);
    const auto redBrush = w.createBrush(kRed);
    w.select(redPen);
    w.select(redBrush);
    w.rectangle(20, 20, 80, 60);
    const auto bluePen = w.createPen(kBlue, 1);
    const auto blueBrush = w.createBrush(kBlue);
    w.select(bluePen);
    w.select(blueBrush);
    w.ellipse(100, 40, 170, 120);
    const auto greenPen = w.createPen(kGreen, 3);
    w.select(greenPen);
    w.polyline(kLine);
    w.select(whitePen);
    for (auto h : {redPen, redBrush, bluePen, blueBrush, greenPen})
        w.deleteObject(h);
    return w.finish();
}

Bytes sampleWmf(bool placeable) {
    WmfWriter w(192, 144);
    const auto whitePen = w.createPen(kWhite, 1);
    const auto whiteBrush = w.createBrush(kWhite);
    w.select(whitePen);
    w.select(whiteBrush);
    w.rectangle(0, 0, 192, 144);
    const auto redPen = w.createPen(kRed, 1);
    const auto redBrush = w.createBrush(kRed);
    w.select(redPen);
    w.select(redBrush);
    w.rectangle(20, 20, 80, 60);
    w.select(whitePen);
    w.deleteObject(redPen);
    w.select(whiteBrush);
    w.deleteObject(redBrush);
    const auto bluePen = w.createPen(kBlue, 1);
    const auto blueBrush = w.createBrush(kBlue);
    w.select(bluePen);
    w.select(blueBrush);
    w.ellipse(100, 40, 170, 120);
    const auto greenPen = w.createPen(kGreen, 3);
    w.select(greenPen);
    w.polyline(kLine);
    return w.finish(placeable);
}

Bytes smallEmf() {
    EmfWriter w(192, 144);
    const auto brush = w.createBrush(kRed);
    const auto pen = w.createPen(kRed, 1);
    w.select(brush);
    w.select(pen);
    w.rectangle(80, 60, 112, 84);
    return w.finish();
}

Bytes smallWmf(bool placeable) {
    WmfWriter w(192, 144);
    const auto brush = w.createBrush(kRed);
    const auto pen = w.createPen(kRed, 1);
    w.select(brush);
    w.select(pen);
    w.rectangle(80, 60, 112, 84);
    return w.finish(placeable);
}

Bytes textEmf() {
    EmfWriter w(192, 144);
    w.select(w.createFont(20, "DejaVu Sans"));
    w.textColor(kBlue);
    w.text(20, 60, "R&D <b>");
    return w.finish();
}

Bytes textWmf() {
    WmfWriter w(192, 144);
    w.select(w.createFont(20, "DejaVu Sans"));
    w.textColor(kBlue);
    w.text(20, 60, "R&D <b>");
    return w.finish();
}

Bytes bitmapEmf() {
    EmfWriter w(192, 144);
    w.bitmap(40, 30, 80, 60, kCells);
    return w.finish();
}

Bytes richEmf() {
    EmfWriter w(240, 160);
    w.select(w.createPen(kBlack, 1));
    w.select(w.createBrush(kWhite));
    w.rectangle(0, 0, 240, 160);
    w.select(w.createHatchBrush(kBlue, 4));
    w.rectangle(10, 10, 110, 70);
    w.saveDc();
    w.intersectClip(130, 10, 190, 50);
    w.select(w.createBrush(kRed));
    w.ellipse(120, 0, 230, 80); // only its clipped part shows
    w.restoreDc();
    w.select(w.createPen(kGreen, 6));
    w.select(w.createBrush(Rgb{255, 200, 0}));
    w.polygon({{20, 150}, {60, 90}, {100, 150}});
    w.polyline({{120, 150}, {160, 100}, {200, 150}, {230, 110}});
    w.select(w.createFont(18, "DejaVu Sans"));
    w.textColor(kBlack);
    w.text(120, 80, "Pictavo 1.0");
    w.bitmap(200, 10, 32, 32, kCells);
    return w.finish();
}

std::vector<NamedSample> allSamples() {
    return {{"sample.emf", sampleEmf()},
            {"sample.wmf", sampleWmf(true)},
            {"standard.wmf", sampleWmf(false)},
            {"small.emf", smallEmf()},
            {"small.wmf", smallWmf(true)},
            {"small-standard.wmf", smallWmf(false)},
            {"text.emf", textEmf()},
            {"text.wmf", textWmf()},
            {"bitmap.emf", bitmapEmf()},
            {"rich.emf", richEmf()}};
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace metafile_test
