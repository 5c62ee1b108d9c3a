#include "converter/abi.h"

extern "C" int PictavoJpegAbiVersion(void) { return PICTAVO_JPEG_ABI_VERSION; }
