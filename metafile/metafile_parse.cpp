#include "metafile_parse.h"

#include "metafile_format.h"
#include "readers.h"

#include <cmath>
#include <cstdio>

namespace metafile {

Result failure(Status status, std::string detail) {
    Result r;
    r.status = status;
    r.detail = std::move(detail);
    return r;
}

int pixelsAt96Dpi(double length, double unitsPerInch) {
    if (!(length > 0) || !(unitsPerInch > 0))
        return 0;
    const double px = std::round(length * 96.0 / unitsPerInch);
    if (px < 1 || px > kMaxFrameSide)
        return 0;
    return static_cast<int>(px);
}

std::string svgDocument(int frameWidth, int frameHeight, const ViewBox& view,
                        std::string_view body) {
    char head[512];
    std::snprintf(head, sizeof head,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                  "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" "
                  "width=\"%d\" height=\"%d\" viewBox=\"%.4f %.4f %.4f %.4f\" "
                  "preserveAspectRatio=\"none\">\n",
                  frameWidth, frameHeight, view.x, view.y, view.width, view.height);
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    doc += head;
    doc += body;
    doc += "\n</svg>\n";
    return doc;
}

Result parseMetafile(const unsigned char* data, std::size_t size) {
    if (size > kMaxInputBytes)
        return failure(Status::TooLarge, "the file is larger than 64 MB");
    switch (sniffFormat(data, size)) {
    case Format::Emf:
        return readEmf(data, size);
    case Format::Wmf:
        return readWmf(data, size);
    case Format::Unknown:
        break;
    }
    return failure(Status::NotMetafile, "the file is neither an EMF nor a WMF file");
}

} // namespace metafile
