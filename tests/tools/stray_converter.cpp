// Converter libraries that the program must refuse: built for another interface, saying no
// interface at all, or lacking BmpToJpeg. Their BmpToJpeg writes the output file, so a
// call that should never have happened leaves a trace.
#include "converter/abi.h"

#include <cstdio>

extern "C" {

#ifdef STRAY_ABI_VERSION
__attribute__((visibility("default"))) int PictavoJpegAbiVersion(void) { return STRAY_ABI_VERSION; }
#endif

#ifndef STRAY_WITHOUT_CONVERTER
__attribute__((visibility("default"))) int BmpToJpeg(const char*, const char* jpegPath, int) {
    if (std::FILE* f = std::fopen(jpegPath, "w")) {
        std::fputs("called", f);
        std::fclose(f);
    }
    return 0;
}
#endif
}
