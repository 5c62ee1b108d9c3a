// The format readers behind parseMetafile, and the SVG framing they share.
#pragma once

#include "metafile_parse.h"

#include <string>
#include <string_view>

namespace metafile {

Result readEmf(const unsigned char* data, std::size_t size);
Result readWmf(const unsigned char* data, std::size_t size);

Result failure(Status status, std::string detail);

// Natural size in pixels of a length in a unit of which there are unitsPerInch per inch;
// 0 when it is empty or beyond what the program can rasterise.
int pixelsAt96Dpi(double length, double unitsPerInch);

struct ViewBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// A standalone SVG document whose user space `view` fills the frame exactly.
std::string svgDocument(int frameWidth, int frameHeight, const ViewBox& view,
                        std::string_view body);

} // namespace metafile
