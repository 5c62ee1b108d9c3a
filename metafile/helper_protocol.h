// What the metafile helper and the program agree on: exit codes and the reply.
// Reply on success (exit 0): one line "SVG <frameWidth> <frameHeight>\n", then the SVG bytes.
// On failure: nothing on stdout, and one of the exit codes below.
#pragma once

#include <cstddef>

namespace metafile {

constexpr const char* kReplyTag = "SVG";
// Longest first line of a reply, newline included.
constexpr std::size_t kMaxReplyHeader = 32;
// Pictures are rasterised at their natural size; a side beyond this could not be.
constexpr int kMaxFrameSide = 16384;
// SVG bigger than this is refused on both sides of the pipe.
constexpr std::size_t kMaxSvgBytes = 128u * 1024 * 1024;

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1, // bad arguments, or no way to reply
    kExitUnreadable = 2,
    kExitNotMetafile = 3,
    kExitTooLarge = 4,
    kExitDamaged = 5,
    kExitBadSize = 6,
    kExitReaderFailed = 7,
    kExitBadDrawing = 8, // the SVG produced does not render
};

} // namespace metafile
