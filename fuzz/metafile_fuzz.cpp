// libFuzzer target: the helper's parsing, bytes in and SVG out, with the libraries it drives.
#include "metafile_parse.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const metafile::Result result = metafile::parseMetafile(data, size);
    // A success must carry what the program relies on.
    if (result.status == metafile::Status::Ok &&
        (result.svg.empty() || result.frameWidth < 1 || result.frameHeight < 1 ||
         result.frameWidth > metafile::kMaxFrameSide ||
         result.frameHeight > metafile::kMaxFrameSide))
        __builtin_trap();
    return 0;
}
