// The converter library's only entry point: a BMP file in, a JPEG file out.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/** Result codes of BmpToJpeg; callers may rely only on 0 meaning success. On any other,
    errno tells why where the system gave a reason: ENOMEM when memory ran out, else the
    error of reading the BMP file (2) or of writing the JPEG file (5). */
enum PictavoJpegResult {
    PICTAVO_JPEG_OK = 0,
    PICTAVO_JPEG_BAD_ARGUMENT = 1,
    PICTAVO_JPEG_CANNOT_READ = 2,
    PICTAVO_JPEG_UNSUPPORTED_BMP = 3,
    PICTAVO_JPEG_ENCODE_FAILED = 4,
    PICTAVO_JPEG_CANNOT_WRITE = 5,
};

/**
 * Writes the picture of the BMP file at bmpPath as a JPEG file at jpegPath, at quality setting
 * (clamped to 1..100). Thread-safe. On failure no file is left at jpegPath and a file already
 * there is untouched.
 */
__attribute__((visibility("default"))) int BmpToJpeg(const char* bmpPath, const char* jpegPath,
                                                     int setting);

/** The type to resolve BmpToJpeg into when loading the library at run time. */
typedef int (*BmpToJpegFunction)(const char*, const char*, int);

#ifdef __cplusplus
}
#endif
