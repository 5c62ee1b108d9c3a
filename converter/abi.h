// The converter library's interface version. The program checks it before it calls
// anything else, so a library built for another interface is refused, never called.
#pragma once

/** Raised whenever BmpToJpeg's arguments or their meaning change. */
#define PICTAVO_JPEG_ABI_VERSION 1

#ifdef __cplusplus
extern "C" {
#endif

/** The interface version this library was built for: PICTAVO_JPEG_ABI_VERSION. */
__attribute__((visibility("default"))) int PictavoJpegAbiVersion(void);

typedef int (*PictavoJpegAbiVersionFunction)(void);

#ifdef __cplusplus
}
#endif
